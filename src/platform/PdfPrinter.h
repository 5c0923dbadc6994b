#pragma once

#include "platform/PrintedDocument.h"

#include <QByteArray>
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

// Prints a document to an A4 PDF in memory, a slice at a time from the event loop, so that the window
// stays usable and the print can be cancelled. Pages are numbered "第 N 页，共 M 页", a table's
// header row repeats on every page it runs over, a heading is never left alone at a page's foot, and
// no page is left empty. Nothing is written to disk. One print at a time.
class PdfPrinter : public QObject
{
    Q_OBJECT
public:
    // The PDF, or an empty array when it could not be made.
    using Done = std::function<void(const QByteArray& pdf)>;

    explicit PdfPrinter(QObject* parent = nullptr);
    ~PdfPrinter() override;

    bool isBusy() const { return static_cast<bool>(m_job); }
    // done is called later, from the event loop; never after cancel() or when the printer is
    // destroyed first.
    void print(printed::Document document, Done done);
    void cancel();

signals:
    // How much of the print is done, 0 to 100.
    void progress(int percent);

private:
    struct Job;
    void step();

    std::unique_ptr<Job> m_job;
    QTimer m_slice;
};
