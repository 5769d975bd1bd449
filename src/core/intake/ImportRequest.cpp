#include "core/intake/ImportRequest.h"

#include <QFile>
#include <QFileInfo>

namespace roadtally {

HeaderFields headerFieldsFromText(const QString &rawText, const QString &letter)
{
    const RawHeader raw = readRawHeader(rawText);
    HeaderFields fields;
    fields.batchNumber = raw.batchNumber(letter);
    fields.locationCode = raw.locationCode;
    fields.startDate = raw.batchDate;
    fields.startTime = raw.startTime;
    fields.postedSpeed = raw.postedSpeed;
    return fields;
}

void acceptHeaderChanges(HeaderFields &fields, HeaderCorrections &corrections)
{
    const auto take = [](QString &box, QString &target) {
        if (!box.isEmpty()) {
            target = box;
            box.clear();
        }
    };
    take(corrections.startDate, fields.startDate);
    take(corrections.startTime, fields.startTime);
    take(corrections.batchNumber, fields.batchNumber);
    take(corrections.locationCode, fields.locationCode);
    take(corrections.postedSpeed, fields.postedSpeed);
}

SpeedRange defaultSpeedRange(const QString &unit)
{
    if (unit == QLatin1String("MPH"))
        return {QStringLiteral("10"), QStringLiteral("100")};
    return {QStringLiteral("15"), QStringLiteral("160")};
}

ImportInput buildImportInput(const QString &rawText, const ImportRequest &request)
{
    HeaderFields fields = headerFieldsFromText(rawText, request.letter);
    HeaderCorrections corrections = request.corrections;
    acceptHeaderChanges(fields, corrections);

    const SpeedRange defaults = defaultSpeedRange(request.unit);
    ImportInput input;
    input.batchNumber = fields.batchNumber;
    input.locationCode = fields.locationCode;
    input.location = request.location;
    input.startDate = fields.startDate;
    input.startTime = fields.startTime;
    input.postedSpeed = fields.postedSpeed;
    input.unit = request.unit;
    input.direction = request.direction;
    input.zone = request.zone;
    input.headway = request.headway;
    input.speedMin = request.range.low.isEmpty() ? defaults.low : request.range.low;
    input.speedMax = request.range.high.isEmpty() ? defaults.high : request.range.high;
    input.rawText = rawText;
    return input;
}

LoadResult loadRawDataPath(const QString &path)
{
    LoadResult result;
    if (path.isEmpty()) {
        result.status = LoadStatus::NoFileName;
        return result;
    }
    return readRawDataFile(path);
}

} // namespace roadtally
