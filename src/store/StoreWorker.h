#pragma once

#include "store/ResultStore.h"

#include <QObject>
#include <QThread>

#include <atomic>
#include <memory>

class QTimer;

namespace store {

// A ResultStore on a thread of its own, so that the window never waits on the file: results are kept
// in order, a file that another program holds is tried again with growing pauses until it is free,
// and what is older than kKeptDays goes in small steps after the start.
class StoreWorker : public QObject
{
    Q_OBJECT
public:
    explicit StoreWorker(const QString& directory, QObject* parent = nullptr);
    // Tries once more to keep what is waiting, then stops the thread.
    ~StoreWorker() override;

    // Returns at once; the result is kept in the order given.
    void keep(search::Engine engine, const QString& query, const KeptResult& result);
    // These wait for the worker, which never waits long on a lock (a short busy timeout).
    QHash<QString, KeptResult> lookUp(search::Engine engine, const QStringList& queries);
    // Drops what is waiting as well.
    bool clear();
    // The results kept and those still waiting to be; -1 when the file cannot be read.
    int count();

    // Results handed to keep that are neither kept nor given up yet.
    int waiting() const { return m_waiting.load(); }

signals:
    void notice(const QString& text);
    // The expiry after the start is over (emitted on the worker's thread).
    void expiryDone();

private:
    struct Pending
    {
        search::Engine engine;
        QString query;
        KeptResult result;
    };

    // On the worker's thread only.
    void writeWaiting();
    void expireSome();
    void shrinkSome();
    void passOnNotice();

    QThread m_thread;
    QObject* m_context = nullptr;
    std::unique_ptr<ResultStore> m_store;
    QList<Pending> m_queue;
    QTimer* m_retry = nullptr;
    int m_pauseMs = 0;
    int m_expired = 0;
    std::atomic<int> m_waiting{0};
};

} // namespace store
