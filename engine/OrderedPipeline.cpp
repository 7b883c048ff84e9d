#include "engine/OrderedPipeline.h"

#include <chrono>

namespace quarvel {

namespace {

// How often a wait for the oldest item looks at the stop request.
constexpr std::chrono::milliseconds kStopPoll{20};

} // namespace

OrderedPipeline::OrderedPipeline(int workers, std::size_t limit, Stop stop, OnStop onStop)
    : m_stop(std::move(stop)), m_limit(limit < 1 ? 1 : limit), m_onStop(onStop)
{
    for (int worker = 0; worker < workers; ++worker)
        m_workers.emplace_back([this, worker] { workerLoop(worker); });
}

OrderedPipeline::~OrderedPipeline()
{
    abandon();
    {
        const std::lock_guard lock(m_mutex);
        m_closing = true;
    }
    m_wake.notify_all();
    for (std::thread& worker : m_workers)
        worker.join();
}

void OrderedPipeline::workerLoop(int worker)
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        Item* item = nullptr;
        ++m_idle;
        m_wake.wait(lock, [this, &item] { return m_closing || (item = takeReady()) != nullptr; });
        --m_idle;
        if (item == nullptr)
            return;
        ++m_running;
        lock.unlock();
        item->work(worker);
        lock.lock();
        finished(*item);
    }
}

OrderedPipeline::Item* OrderedPipeline::takeReady()
{
    for (auto it = m_todo.begin(); it != m_todo.end(); ++it) {
        Item* item = *it;
        if (!item->waiting) {
            m_todo.erase(it);
            return item;
        }
    }
    return nullptr;
}

void OrderedPipeline::finished(Item& item)
{
    --m_running;
    item.done = true;
    if (item.follower != nullptr) {
        item.follower->waiting = false;
        if (m_idle > 0)
            m_wake.notify_one();
    }
    // Only an owner waiting for this item (or for all) needs waking.
    if (m_awaited == &item || (m_awaitingAll && m_running == 0))
        m_done.notify_all();
}

void OrderedPipeline::add(Work work, Commit commit, bool afterPrevious)
{
    if (m_abandoned)
        return;
    // Nothing ahead and nothing to prepare: no need to queue it.
    if (!work && m_items.empty()) {
        if (!(m_stop && m_stop()))
            commit();
        else
            abandon();
        return;
    }
    auto item = std::make_unique<Item>(Item{std::move(work), std::move(commit)});
    Item* added = item.get();
    bool wake = false;
    {
        const std::lock_guard lock(m_mutex);
        if (afterPrevious && added->work && !m_items.empty() && !m_items.back()->done) {
            m_items.back()->follower = added;
            added->waiting = true;
        }
        m_items.push_back(std::move(item));
        if (added->work)
            m_todo.push_back(added);
        else
            added->done = true;
        wake = added->work && !added->waiting && m_idle > 0;
    }
    if (wake)
        m_wake.notify_one();
    commitReady();
    while (!m_abandoned && m_items.size() > m_limit)
        commitOldest();
}

void OrderedPipeline::drain()
{
    while (!m_abandoned && !m_items.empty())
        commitOldest();
}

void OrderedPipeline::commitReady()
{
    for (;;) {
        {
            const std::lock_guard lock(m_mutex);
            if (m_abandoned || m_items.empty() || !m_items.front()->done)
                return;
        }
        if (!commitFront())
            return;
    }
}

bool OrderedPipeline::commitOldest()
{
    while (!waitOrHelp()) {
        if (m_stop && m_stop()) {
            abandon();
            return false;
        }
    }
    return commitFront();
}

// While the oldest item is not done, the owner prepares one that no worker
// has taken yet rather than sleep: small items then cost no wake-up each.
// True once the oldest item is done.
bool OrderedPipeline::waitOrHelp()
{
    std::unique_lock lock(m_mutex);
    Item& oldest = *m_items.front();
    if (oldest.done)
        return true;
    if (Item* item = takeReady()) {
        ++m_running;
        lock.unlock();
        item->work(static_cast<int>(m_workers.size()));
        lock.lock();
        finished(*item);
        return oldest.done;
    }
    m_awaited = &oldest;
    const bool done = m_done.wait_for(lock, kStopPoll, [&oldest] { return oldest.done; });
    m_awaited = nullptr;
    return done;
}

bool OrderedPipeline::commitFront()
{
    if (m_stop && m_stop()) {
        abandon();
        return false;
    }
    const std::unique_ptr<Item> item = std::move(m_items.front());
    m_items.pop_front();
    item->commit();
    return true;
}

void OrderedPipeline::abandon()
{
    m_abandoned = true;
    {
        std::unique_lock lock(m_mutex);
        for (Item* item : m_todo)
            item->dropped = true;
        m_todo.clear();
        m_awaitingAll = true;
        m_done.wait(lock, [this] { return m_running == 0; });
        m_awaitingAll = false;
    }
    if (m_onStop == OnStop::CommitStarted) {
        for (const std::unique_ptr<Item>& item : m_items) {
            if (!item->dropped)
                item->commit();
        }
    }
    // Destroyed here, on the owner's thread: what they staged goes with them.
    m_items.clear();
}

} // namespace quarvel
