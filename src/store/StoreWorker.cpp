#include "store/StoreWorker.h"

#include <QTimer>

namespace store {
namespace {

// Short, so that a look-up the window waits for is never held up long by another program.
constexpr int kWorkerBusyTimeoutMs = 20;
constexpr int kFirstPauseMs = 100;
constexpr int kLongestPauseMs = 5000;
// Some tens of milliseconds each, so that a look-up waits at most that long behind the expiry.
constexpr int kExpiryStep = 500;
constexpr int kShrinkStep = 64; // pages: a few tens of milliseconds

} // namespace

StoreWorker::StoreWorker(const QString& directory, QObject* parent) : QObject(parent)
{
    m_context = new QObject;
    m_context->moveToThread(&m_thread);
    m_thread.setObjectName(QStringLiteral("tessaro-store"));
    m_thread.start();
    QMetaObject::invokeMethod(
        m_context,
        [this, directory] {
            m_store = std::make_unique<ResultStore>(directory, kWorkerBusyTimeoutMs);
            m_retry = new QTimer(m_context);
            m_retry->setSingleShot(true);
            connect(m_retry, &QTimer::timeout, m_context, [this] { writeWaiting(); });
            m_pauseMs = kFirstPauseMs;
            expireSome(); // opens and checks the file as well
        },
        Qt::QueuedConnection);
}

StoreWorker::~StoreWorker()
{
    QMetaObject::invokeMethod(
        m_context,
        [this] {
            m_retry->stop();
            writeWaiting();
            m_queue.clear();
            delete m_retry;  // stopped in its own thread
            m_store.reset(); // a step of the expiry still queued finds no store
        },
        Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
    delete m_context;
}

void StoreWorker::keep(search::Engine engine, const QString& query, const KeptResult& result)
{
    ++m_waiting;
    QMetaObject::invokeMethod(
        m_context,
        [this, p = Pending{engine, query, result}]() mutable {
            m_queue.append(std::move(p));
            writeWaiting();
        },
        Qt::QueuedConnection);
}

QHash<QString, KeptResult> StoreWorker::lookUp(search::Engine engine, const QStringList& queries)
{
    QHash<QString, KeptResult> found;
    QMetaObject::invokeMethod(
        m_context,
        [&] {
            found = m_store->lookUp(engine, queries);
            passOnNotice();
        },
        Qt::BlockingQueuedConnection);
    return found;
}

bool StoreWorker::clear()
{
    bool cleared = false;
    QMetaObject::invokeMethod(
        m_context,
        [&] {
            m_waiting -= static_cast<int>(m_queue.size());
            m_queue.clear();
            m_retry->stop();
            cleared = m_store->clear();
            passOnNotice();
        },
        Qt::BlockingQueuedConnection);
    return cleared;
}

int StoreWorker::count()
{
    int counted = -1;
    QMetaObject::invokeMethod(
        m_context,
        [&] {
            writeWaiting();
            counted = m_store->count();
            if (counted >= 0)
                counted += static_cast<int>(m_queue.size());
            passOnNotice();
        },
        Qt::BlockingQueuedConnection);
    return counted;
}

void StoreWorker::writeWaiting()
{
    if (!m_store || m_retry->isActive())
        return; // pausing: the timer writes the queue
    while (!m_queue.isEmpty()) {
        const Pending& p = m_queue.constFirst();
        if (m_store->tryKeep(p.engine, p.query, p.result) == ResultStore::Outcome::Busy) {
            m_retry->start(m_pauseMs);
            m_pauseMs = std::min(m_pauseMs * 2, kLongestPauseMs);
            break;
        }
        m_pauseMs = kFirstPauseMs;
        m_queue.removeFirst();
        --m_waiting;
    }
    passOnNotice();
}

void StoreWorker::expireSome()
{
    if (!m_store)
        return;
    const int gone = m_store->expire(QDateTime::currentDateTimeUtc(), kExpiryStep);
    m_expired += std::max(gone, 0);
    if (gone == kExpiryStep) {
        QMetaObject::invokeMethod(
            m_context, [this] { expireSome(); }, Qt::QueuedConnection);
        return;
    }
    passOnNotice();
    if (m_expired > 0)
        shrinkSome();
    else
        emit expiryDone();
}

void StoreWorker::shrinkSome()
{
    if (!m_store)
        return;
    if (!m_store->shrink(kShrinkStep)) {
        QMetaObject::invokeMethod(
            m_context, [this] { shrinkSome(); }, Qt::QueuedConnection);
        return;
    }
    emit expiryDone();
}

void StoreWorker::passOnNotice()
{
    if (const QString text = m_store->takeNotice(); !text.isEmpty())
        emit notice(text);
}

} // namespace store
