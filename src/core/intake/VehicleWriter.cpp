#include "core/intake/VehicleWriter.h"

namespace roadtally {

VehicleWriter::VehicleWriter(DatabaseSession &session, const QString &batchNumber)
    : m_rows(session,
             "INSERT INTO [Veh_Data] ([Batch_Number], [Offset], [Veh_Direction], [Speed], [Time], "
             "[Date])",
             6)
{
    m_rows.text(1, batchNumber); // the same in every row
}

void VehicleWriter::write(const ParsedRecord &record, QStringView direction)
{
    m_rows.integer(2, record.offset);
    // A one-character direction needs no conversion; anything else is stored as read.
    if (record.singleDirection)
        m_rows.text(3, &record.direction, 1);
    else
        m_rows.text(3, direction.toString());
    m_rows.integer(4, record.speed);
    m_rows.text(5, record.time, int(sizeof record.time));
    m_rows.text(6, record.date, record.dateSize);
    m_rows.insert();
}

void VehicleWriter::finish()
{
    m_rows.finish();
}

} // namespace roadtally
