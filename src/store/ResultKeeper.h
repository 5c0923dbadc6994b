#pragma once

#include "search/CheckRun.h"
#include "store/Resume.h"
#include "store/StoreWorker.h"

#include <QObject>

#include <memory>

// Keeps every result the check run obtains and offers the kept ones after an analysis. Without a
// folder it keeps and offers nothing.
namespace store {

class ResultKeeper : public QObject
{
    Q_OBJECT
public:
    ResultKeeper(const QString& directory, search::CheckRun& run, QObject* parent = nullptr);
    ~ResultKeeper() override;

    bool enabled() const { return m_store != nullptr; }

    // After an analysis: the pieces whose results an earlier start kept with engine.
    ResumeOffer offer(search::Engine engine, const QList<analysis::PieceUse>& uses);
    // 沿用: the run takes the offered results over.
    search::RunEffects resume(const ResumeOffer& offer, search::Engine engine);
    // Deletes every kept result. False when that failed.
    bool clear();
    // How many results are kept; -1 when that cannot be told.
    int count();
signals:
    // A fault of the store the person must hear of, once each: a damaged file set aside, or results
    // that can no longer be kept.
    void notice(const QString& text);

private:
    void recordChanged(int sentence);

    std::unique_ptr<StoreWorker> m_store;
    search::CheckRun& m_run;
};

} // namespace store
