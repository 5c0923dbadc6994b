#pragma once

#include "editor/RichTextConversion.h"
#include "platform/WordProcessorJob.h"

#include <QStringList>

#include <QFile>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>

#include <optional>

// A map of colours over a document's text, one letter per character: r red, k black, - automatic,
// ? any other colour, and | between paragraphs.
inline QString colourMap(const QTextDocument& document)
{
    QString out;
    const richtext::Document content = editor::toRichText(document);
    for (qsizetype p = 0; p < content.paragraphs.size(); ++p) {
        if (p > 0)
            out += u'|';
        for (const richtext::Run& run : content.paragraphs[p].runs) {
            QChar letter = u'?';
            if (!run.format.color)
                letter = u'-';
            else if (*run.format.color == richtext::Color{255, 0, 0})
                letter = u'r';
            else if (*run.format.color == richtext::Color{0, 0, 0})
                letter = u'k';
            out += QString(run.text.size(), letter);
        }
    }
    return out;
}

// Appends text in a colour and font at the end of the document.
inline void appendText(QTextDocument& document, const QString& text, const QColor& colour,
                       const QString& font = QStringLiteral("宋体"), double points = 10.5)
{
    QTextCursor c(&document);
    c.movePosition(QTextCursor::End);
    QTextCharFormat f;
    f.setForeground(colour);
    f.setFontFamilies({font});
    f.setFontPointSize(points);
    c.insertText(text, f);
}

// Stands in for the word processor in documents::load: records the paths asked for and gives answer.
class FakeWordProcessor
{
public:
    explicit FakeWordProcessor(std::optional<QString> answer) : answer(std::move(answer)) {}

    documents::WordProcessorRead read()
    {
        return [this](const QString& path) -> documents::WordProcessorResult {
            calls.append(path);
            if (answer)
                return *answer;
            return failure;
        };
    }

    std::optional<QString> answer;
    documents::Failure failure = documents::Failure::WordProcessorFailed; // the answer when there is no text
    QStringList calls;
};

// A stand-in office program for word-processor jobs: a shell script in dir that records the
// document it was asked for and prints an answer as LibreOffice prints a document, or never answers.
class StandInOffice
{
public:
    explicit StandInOffice(const QTemporaryDir& dir)
        : m_program(dir.filePath(QStringLiteral("stand-in-office"))),
          m_answer(dir.filePath(QStringLiteral("office-answer"))),
          m_calls(dir.filePath(QStringLiteral("office-calls"))), m_pid(dir.filePath(QStringLiteral("office-child")))
    {
        answer(QStringLiteral("文字处理器的正文\n第二段"));
    }

    void answer(const QString& text)
    {
        write(m_answer, "\xEF\xBB\xBF" + text.toUtf8() + '\n');
        script("cat '" + m_answer.toUtf8() + "'\n");
    }
    // Starts a child of its own and waits, until killed.
    void neverAnswer() { script("sleep 300 &\necho $! > '" + m_pid.toUtf8() + "'\nwait\n"); }

    WordProcessorJobs jobs(std::chrono::milliseconds timeout = std::chrono::minutes(5)) const
    {
        return wordProcessorJobs({m_program, timeout});
    }
    QStringList calls() const
    {
        QFile f(m_calls);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts)
                                           : QStringList();
    }
    // The never-answering office's own child, once it has started.
    qint64 child() const
    {
        QFile f(m_pid);
        return f.open(QIODevice::ReadOnly) ? f.readAll().trimmed().toLongLong() : 0;
    }

private:
    static void write(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    }
    void script(const QByteArray& body)
    {
        write(m_program, "#!/bin/sh\necho \"$4\" >> '" + m_calls.toUtf8() + "'\n" + body);
        QFile::setPermissions(m_program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QString m_program, m_answer, m_calls, m_pid;
};

// A file of the given content in dir; returns its path.
inline QString writeFile(const QTemporaryDir& dir, const char* name, const QByteArray& content)
{
    const QString path = dir.filePath(QLatin1String(name));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(content);
    return path;
}

inline QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
