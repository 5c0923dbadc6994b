#include "sources/SourceAdding.h"

#include "documents/DocumentKind.h"

#include <QDir>
#include <QDirIterator>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

namespace sources {
namespace {

const QStringList kSuffixes = {QStringLiteral("txt"), QStringLiteral("rtf"), QStringLiteral("docx"),
                               QStringLiteral("odt"), QStringLiteral("pdf"), QStringLiteral("doc"),
                               QStringLiteral("wps")};

QString textOf(const documents::Read& read)
{
    QString text;
    if (const QString* plain = std::get_if<QString>(&read))
        text = *plain;
    else if (const richtext::Document* rich = std::get_if<richtext::Document>(&read))
        text = rich->text(QStringLiteral("\n"));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

QString failureOf(const QString& path, const documents::Read& read, std::chrono::milliseconds limit)
{
    if (const documents::Failure* failure = std::get_if<documents::Failure>(&read))
        return documents::openFailureMessage(path, *failure, limit);
    return QString();
}

} // namespace

QStringList sourceFiles(const QStringList& paths)
{
    QStringList out;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (!info.isDir()) {
            out.append(info.absoluteFilePath());
            continue;
        }
        QStringList found;
        QDirIterator it(info.absoluteFilePath(), QDir::Files | QDir::Readable, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo file(it.next());
            if (kSuffixes.contains(file.suffix().toLower()))
                found.append(file.absoluteFilePath());
        }
        found.sort();
        out += found;
    }
    return out;
}

SourceAdding::SourceAdding(Library& library, QStringList files, ReadJob::Options options, QObject* parent)
    : QObject(parent), m_library(library), m_files(std::move(files)), m_options(std::move(options))
{
}

SourceAdding::~SourceAdding() = default;

void SourceAdding::start()
{
    QTimer::singleShot(0, this, &SourceAdding::next);
}

void SourceAdding::cancel()
{
    if (m_finished)
        return;
    m_cancelled = true;
    if (m_job)
        m_job->cancel(); // its finished() ends the run
    else
        QTimer::singleShot(0, this, &SourceAdding::next);
}

void SourceAdding::next()
{
    if (m_finished || m_job)
        return;
    if (m_cancelled || m_next >= m_files.size()) {
        m_finished = true;
        emit finished(m_cancelled);
        return;
    }
    const QString path = m_files[m_next];
    emit progress(static_cast<int>(m_next), total());
    if (const std::optional<documents::Failure> failure = documents::fileFailure(path)) {
        done({path, AddedFile::Outcome::Failed, documents::openFailureMessage(path, *failure), 0});
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        done({path, AddedFile::Outcome::Failed,
              documents::openFailureMessage(path, documents::Failure::Unreadable), 0});
        return;
    }
    const QByteArray bytes = file.readAll();
    m_size = bytes.size();
    m_hash = Library::contentHash(bytes);
    if (m_library.hashOf(path) == m_hash) {
        done({path, AddedFile::Outcome::Unchanged, QString(), 0});
        return;
    }
    if (m_library.addPath(path, m_hash)) {
        done({path, AddedFile::Outcome::SameContent, QString(), 0});
        return;
    }
    if (documents::kindOf(path, bytes) == documents::Kind::Text) {
        // Plain text is only decoded: no library that could hang or blow up, so no process of its own,
        // which would cost more than the read itself for each of hundreds of files.
        keep(path, documents::read(path), std::chrono::milliseconds(0));
        return;
    }
    m_job = std::make_unique<ReadJob>(path, m_options);
    connect(m_job.get(), &ReadJob::finished, this, &SourceAdding::readFinished);
    m_job->start();
}

void SourceAdding::readFinished(const documents::Read& read)
{
    const std::chrono::milliseconds limit = m_job->wordProcessorLimit();
    // The job may be inside its own signal: it goes once the event loop comes back.
    m_job.release()->deleteLater();
    if (m_cancelled) {
        m_finished = true;
        emit finished(true);
        return;
    }
    keep(m_files[m_next], read, limit);
}

void SourceAdding::keep(const QString& path, const documents::Read& read, std::chrono::milliseconds limit)
{
    const QString failure = failureOf(path, read, limit);
    const QString text = textOf(read);
    if (!failure.isEmpty() || text.trimmed().isEmpty()) {
        done({path, AddedFile::Outcome::Failed,
              failure.isEmpty() ? QStringLiteral("文件中没有文字。") : failure, 0});
        return;
    }
    if (!m_library.addSource(path, m_hash, m_size, QFileInfo(path).completeBaseName(), text)) {
        done({path, AddedFile::Outcome::Failed, m_library.error(), 0});
        return;
    }
    qint64 chars = 0;
    for (QChar c : text)
        chars += !c.isLowSurrogate();
    done({path, AddedFile::Outcome::Read, QString(), chars});
}

void SourceAdding::done(AddedFile file)
{
    ++m_next;
    emit fileDone(file);
    QTimer::singleShot(0, this, &SourceAdding::next);
}

ReadText readDocument(const QString& path, ReadJob::Options options)
{
    ReadJob job(path, std::move(options));
    ReadText out;
    QEventLoop loop;
    QObject::connect(&job, &ReadJob::finished, &loop, [&](const documents::Read& read) {
        out.failure = failureOf(path, read, job.wordProcessorLimit());
        out.text = textOf(read);
        loop.quit();
    });
    job.start();
    if (!job.isDone())
        loop.exec();
    return out;
}

} // namespace sources
