#include "core/intake/RecordPipeline.h"

#include <cstring>

namespace roadtally {

namespace {

// Records per chunk, and chunks that may wait for the caller: enough to keep
// both threads busy, little enough memory for a survey of any length.
constexpr size_t ChunkRecords = 4096;
constexpr size_t WaitingChunks = 4;

} // namespace

RecordPipeline::RecordPipeline(const QString &rawText, const RecordRules &rules)
    : m_thread([this, rawText, rules] { parse(rawText, rules); })
{
}

RecordPipeline::~RecordPipeline()
{
    stop();
}

void RecordPipeline::parse(QString rawText, RecordRules rules)
{
    Chunk chunk;
    chunk.records.reserve(ChunkRecords);
    ParseOutcome outcome = ParseOutcome::Done;
    std::exception_ptr error;
    try {
        const PreparedData data = prepareDataBlock(rawText);
        m_vehicles.reserve(qsizetype(data.view().size() / 17 + 1)); // one record is 17 characters
        outcome = parseVehicleRecords(
            data.view(), rules, [&](const Vehicle &vehicle, const RecordTexts &texts) {
                m_vehicles.append(vehicle);
                ParsedRecord &r = chunk.records.emplace_back();
                r.offset = vehicle.offset;
                r.speed = vehicle.speed;
                std::memcpy(r.time, texts.time, sizeof r.time);
                const size_t dateSize = std::min(std::strlen(texts.date), sizeof r.date);
                std::memcpy(r.date, texts.date, dateSize);
                r.dateSize = quint8(dateSize);
                r.singleDirection =
                    texts.direction.size() == 1 && texts.direction[0].unicode() < 0x80;
                if (r.singleDirection)
                    r.direction = char(texts.direction[0].unicode());
                else
                    chunk.otherDirections.push_back(texts.direction.toString());
                if (chunk.records.size() == ChunkRecords)
                    hand(chunk);
            });
        if (!chunk.records.empty())
            hand(chunk);
    } catch (const Stopped &) {
        // The caller gave up; nobody waits for the rest.
    } catch (...) {
        error = std::current_exception();
    }
    std::lock_guard lock(m_mutex);
    m_outcome = outcome;
    m_error = error;
    m_done = true;
    m_changed.notify_all();
}

void RecordPipeline::hand(Chunk &chunk)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_stop || m_full.size() < WaitingChunks; });
    if (m_stop)
        throw Stopped();
    m_full.push_back(std::move(chunk));
    if (m_spare.empty()) {
        chunk = Chunk();
        chunk.records.reserve(ChunkRecords);
    } else {
        chunk = std::move(m_spare.back());
        m_spare.pop_back();
    }
    m_changed.notify_all();
}

bool RecordPipeline::next(Chunk &chunk)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_full.empty() || m_done; });
    if (m_full.empty())
        return false;
    chunk = std::move(m_full.front());
    m_full.pop_front();
    m_changed.notify_all();
    return true;
}

void RecordPipeline::recycle(Chunk &&chunk)
{
    chunk.records.clear();
    chunk.otherDirections.clear();
    std::lock_guard lock(m_mutex);
    m_spare.push_back(std::move(chunk));
}

ParseOutcome RecordPipeline::finish()
{
    if (m_thread.joinable())
        m_thread.join();
    if (m_error)
        std::rethrow_exception(m_error);
    return m_outcome;
}

void RecordPipeline::stop()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
        m_changed.notify_all();
    }
    if (m_thread.joinable())
        m_thread.join();
}

Vehicles RecordPipeline::takeVehicles()
{
    return std::move(m_vehicles);
}

} // namespace roadtally
