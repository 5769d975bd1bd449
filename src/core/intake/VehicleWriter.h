#pragma once
// Stores accepted vehicles in Veh_Data, inside the import's transaction, through
// the import's one bulk insert (RowWriter). A long survey holds a million rows.

#include "core/intake/RecordPipeline.h"
#include "core/store/RowWriter.h"

namespace roadtally {

class VehicleWriter
{
public:
    VehicleWriter(DatabaseSession &session, const QString &batchNumber);

    // Adds one row: Batch_Number, Offset, Veh_Direction (the field as read),
    // Speed, Time, Date. Throws DatabaseError on failure.
    void write(const ParsedRecord &record, QStringView direction);
    // Stores the rows still waiting; call before the statistics run.
    void finish();

private:
    RowWriter m_rows;
};

} // namespace roadtally
