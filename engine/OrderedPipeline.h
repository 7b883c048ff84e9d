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

    OrderedPipeline(int workers, std::size_t limit, Stop stop);
    // Abandons what is still under way and ends the workers.
    ~OrderedPipeline();
    OrderedPipeline(const OrderedPipeline&) = delete;
    OrderedPipeline& operator=(const OrderedPipeline&) = delete;

    // Adds an item: `work` (may be empty) is handed to a worker, `commit`
    // runs once it and every earlier item are done. Commits what is ready;
    // while the pipeline is full, waits for the oldest item.
    void add(Work work, Commit commit);
    // Commits everything added, in order (or abandons it on a stop).
    void drain();
    // Drops the items not yet started, waits for those being prepared and
    // destroys them all uncommitted; later adds are ignored.
    void abandon();
    bool abandoned() const { return m_abandoned; }

private:
    struct Item
    {
        Work work;
        Commit commit;
        bool done = false; // under m_mutex
    };

    void workerLoop(int worker);
    // A worker or the owner is done preparing `item` (under m_mutex).
    void finished(Item& item);
    bool waitOrHelp();
    void commitReady();
    // Waits for the oldest item and commits it; false when the run stopped.
    bool commitOldest();
    bool commitFront();

    Stop m_stop;
    std::size_t m_limit;
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
