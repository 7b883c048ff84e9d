#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace quarvel {

// Runs the preparing part of each item on worker threads and the
// committing part on the owner's thread, strictly in the order the items
// were added. At most `limit` items are under way (added, not yet
// committed) at any time, so what prepared items hold stays bounded
// whatever the number of items. Every call is made on the owner's thread.
class OrderedPipeline
{
public:
    // Runs on a worker, or on the owner's thread while it waits; `worker`
    // (0 to workers - 1, `workers` for the owner) picks its own tools.
    using Work = std::function<void(int worker)>;
    using Commit = std::function<void()>;
    // Asked before every commit and while waiting: true abandons the rest.
    using Stop = std::function<bool()>;
    // What a stop does with the items a worker has taken already: they are
    // destroyed uncommitted (their work can be undone by dropping it), or
    // finished and committed in order (their work is done on disk already
    // and must be recorded).
    enum class OnStop
    {
        DropStarted,
        CommitStarted,
    };

    OrderedPipeline(int workers, std::size_t limit, Stop stop, OnStop onStop = OnStop::DropStarted);
    // Abandons what is still under way and ends the workers.
    ~OrderedPipeline();
    OrderedPipeline(const OrderedPipeline&) = delete;
    OrderedPipeline& operator=(const OrderedPipeline&) = delete;

    // Adds an item: `work` (may be empty) is handed to a worker, `commit`
    // runs once it and every earlier item are done. With `afterPrevious`,
    // the work starts only once the previous item's work is done (for
    // pieces of work that must not overlap). Commits what is ready; while
    // the pipeline is full, waits for the oldest item.
    void add(Work work, Commit commit, bool afterPrevious = false);
    // Commits everything added, in order (or abandons it on a stop).
    void drain();
    // Drops the items not yet started and waits for those being prepared;
    // these and the prepared ones are then destroyed uncommitted, or (with
    // OnStop::CommitStarted) committed in order. Later adds are ignored.
    void abandon();
    bool abandoned() const { return m_abandoned; }

private:
    struct Item
    {
        Work work;
        Commit commit;
        bool done = false;        // under m_mutex
        bool dropped = false;     // taken off m_todo before a worker started it
        bool waiting = false;     // its work waits for the previous item's, under m_mutex
        Item* follower = nullptr; // the next item, when it waits for this one, under m_mutex
    };

    void workerLoop(int worker);
    // The first item to prepare that waits for no other, taken off m_todo
    // (under m_mutex); null when there is none.
    Item* takeReady();
    // A worker or the owner is done preparing `item` (under m_mutex).
    void finished(Item& item);
    bool waitOrHelp();
    void commitReady();
    // Waits for the oldest item and commits it; false when the run stopped.
    bool commitOldest();
    bool commitFront();

    Stop m_stop;
    std::size_t m_limit;
    OnStop m_onStop;
    std::deque<std::unique_ptr<Item>> m_items; // added, not committed: the owner's
    std::mutex m_mutex;
    std::condition_variable m_wake; // work to do, or closing
    std::condition_variable m_done; // an item was prepared
    std::deque<Item*> m_todo;       // under m_mutex
    int m_running = 0;              // items being prepared, under m_mutex
    int m_idle = 0;                 // workers waiting for work, under m_mutex
    Item* m_awaited = nullptr;      // the item the owner waits for, under m_mutex
    bool m_awaitingAll = false;     // the owner waits for every item, under m_mutex
    bool m_closing = false;         // under m_mutex
    bool m_abandoned = false;
    std::vector<std::thread> m_workers;
};

} // namespace quarvel
