#pragma once
// The records of a raw data text, parsed on a thread of its own while the
// import stores them: the text preparation and the parse of a long survey
// overlap the database writes, which stay on the calling thread (the database
// connection belongs to it). The records reach the caller in file order, in
// chunks, exactly as parseVehicleRecords() accepts them.

#include "core/intake/VehicleRecordParser.h"
#include "core/stats/Vehicle.h"

#include <QString>

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace roadtally {

// One accepted record with the texts Veh_Data stores.
struct ParsedRecord
{
    qint64 offset = 0;
    int speed = 0;
    char time[11]; // "hh:mm:ss AM"
    char date[8];  // "mm/dd/yy"
    quint8 dateSize = 0;
    bool singleDirection = false; // the direction field is the one character below
    char direction = 0;           // otherwise the field is in the chunk's otherDirections
};

class RecordPipeline
{
public:
    // Starts preparing and parsing rawText at once.
    RecordPipeline(const QString &rawText, const RecordRules &rules);
    // Stops the parse if it still runs and waits for its thread.
    ~RecordPipeline();
    RecordPipeline(const RecordPipeline &) = delete;
    RecordPipeline &operator=(const RecordPipeline &) = delete;

    // Hands every accepted record, in order, to store (on the calling thread)
    // until the parse ends, and returns its outcome. Throws what the parse threw
    // (ImportFailure for a text that cannot be imported) or what store threw.
    template <typename Store> ParseOutcome storeAll(Store &&store)
    {
        Chunk chunk;
        try {
            while (next(chunk)) {
                size_t other = 0;
                for (size_t i = 0; i < chunk.records.size(); ++i) {
                    const ParsedRecord &r = chunk.records[i];
                    if (r.singleDirection) {
                        const QChar c = QLatin1Char(r.direction);
                        store(r, QStringView(&c, 1));
                    } else {
                        store(r, QStringView(chunk.otherDirections.at(other++)));
                    }
                }
                recycle(std::move(chunk));
            }
        } catch (...) {
            stop();
            throw;
        }
        return finish();
    }

    // The accepted vehicles, for the statistics; once storeAll() has returned.
    Vehicles takeVehicles();

private:
    struct Chunk
    {
        std::vector<ParsedRecord> records;
        std::vector<QString> otherDirections; // in record order
    };
    struct Stopped
    {
    };

    void parse(QString rawText, RecordRules rules);
    void hand(Chunk &chunk); // producer: queue a full chunk, take a fresh one
    bool next(Chunk &chunk); // caller: the next chunk, false at the end
    void recycle(Chunk &&chunk);
    ParseOutcome finish();
    void stop();

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Chunk> m_full;
    std::vector<Chunk> m_spare;
    bool m_done = false;
    bool m_stop = false;
    std::exception_ptr m_error;
    ParseOutcome m_outcome = ParseOutcome::Done;
    Vehicles m_vehicles;
    std::thread m_thread;
};

} // namespace roadtally
