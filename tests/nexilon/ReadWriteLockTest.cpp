#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "nexilon/Exceptions.h"
#include "nexilon/ReadWriteLock.h"

using namespace nexilon;
using namespace std::chrono_literals;

TEST(ReadWriteLock, WritersExcludeReadersAndWriters)
{
    CReadWriteLock lock;
    int shared = 0;
    std::atomic<bool> broken{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 2000; ++i) {
                if ((i + t) % 3 == 0) {
                    lock.Lock(LOCKMODE_WRITE);
                    const int before = shared;
                    shared = -1; // a reader that sees this overlapped a writer
                    std::this_thread::yield();
                    shared = before + 1;
                    lock.Unlock();
                } else {
                    lock.Lock(LOCKMODE_READ);
                    if (shared < 0)
                        broken = true;
                    lock.Unlock();
                }
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_FALSE(broken.load());
    int writes = 0;
    for (int t = 0; t < 4; ++t)
        for (int i = 0; i < 2000; ++i)
            writes += (i + t) % 3 == 0;
    EXPECT_EQ(shared, writes);
}

TEST(ReadWriteLock, IsReentrantReportsTheLevelBeingReleasedAndRefusesMisuse)
{
    CReadWriteLock lock;
    lock.Lock(LOCKMODE_WRITE_EXCL);
    lock.Lock(LOCKMODE_READ);
    lock.Lock(LOCKMODE_WRITE);
    EXPECT_EQ(lock.GetLockMode(), LOCKMODE_WRITE);
    lock.Unlock();
    EXPECT_EQ(lock.GetLockMode(), LOCKMODE_READ);
    lock.Unlock();
    EXPECT_EQ(lock.GetLockMode(), LOCKMODE_WRITE_EXCL);

    // Still exclusive for other threads until the last level goes.
    std::atomic<bool> got{false};
    std::thread reader([&] {
        lock.Lock(LOCKMODE_READ);
        got = true;
        lock.Unlock();
    });
    std::this_thread::sleep_for(30ms);
    EXPECT_FALSE(got.load());
    lock.Unlock();
    reader.join();
    EXPECT_TRUE(got.load());

    // Misuse is refused: an unlock too many, an upgrade from reading.
    EXPECT_THROW(lock.Unlock(), COperationNotSupportedException);
    lock.Lock(LOCKMODE_READ);
    lock.Lock(LOCKMODE_READ);
    EXPECT_THROW(lock.Lock(LOCKMODE_WRITE), COperationNotSupportedException);
    lock.Unlock();
    lock.Unlock();
    // The failed upgrade left nothing behind: a writer gets in.
    lock.Lock(LOCKMODE_WRITE);
    lock.Unlock();
}

TEST(ReadWriteLock, WaitingWriterIsNotStarvedByNewReaders)
{
    CReadWriteLock lock;
    std::atomic<bool> stop{false};
    std::atomic<bool> writerDone{false};
    std::vector<std::thread> readers;
    for (int r = 0; r < 3; ++r)
        readers.emplace_back([&] {
            // Overlapping readers: at any moment someone holds the lock.
            while (!stop) {
                lock.Lock(LOCKMODE_READ);
                std::this_thread::sleep_for(2ms);
                lock.Unlock();
            }
        });
    std::this_thread::sleep_for(20ms);
    std::thread writer([&] {
        lock.Lock(LOCKMODE_WRITE);
        writerDone = true;
        lock.Unlock();
    });
    for (int wait = 0; wait < 500 && !writerDone; ++wait)
        std::this_thread::sleep_for(2ms);
    const bool done = writerDone.load();
    stop = true;
    writer.join();
    for (auto& reader : readers)
        reader.join();
    EXPECT_TRUE(done);
}

// Every playback runs on a thread of its own: the lock must not keep an
// entry for each thread that ever took it. The threads stay alive until the
// end, so none can pass its id on to the next.
TEST(ReadWriteLock, ThreadsThatCameAndWentLeaveNoEntries)
{
    CReadWriteLock lock;
    std::atomic<int> turn{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < 50; ++i)
        threads.emplace_back([&, i] {
            while (turn.load() != i)
                std::this_thread::yield();
            lock.Lock(i % 2 ? LOCKMODE_READ : LOCKMODE_WRITE);
            lock.Lock(LOCKMODE_READ);
            lock.Unlock();
            lock.Unlock();
            ++turn;
            while (turn.load() < 50)
                std::this_thread::yield();
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(lock.GetThreadEntryCount(), 1u);
}
