#pragma once

#include "TestData.h"
#include "editor/RichTextConversion.h"
#include "platform/ReadJob.h"
#include "platform/WordProcessorJob.h"

#include <QStringList>

#include <QFile>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>

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

// Reads through the reader program the tests build.
inline ReadJobOptions testReading()
{
    ReadJobOptions reading;
    reading.reader = testdata::readerProgram();
    return reading;
}

// A file of the given content in dir; returns its path.
inline QString writeFile(const QTemporaryDir& dir, const char* name, const QByteArray& content)
{
    const QString path = dir.filePath(QString::fromUtf8(name));
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

// A stand-in program: a shell script of the given body in dir; returns its path.
inline QString writeScript(const QTemporaryDir& dir, const char* name, const QByteArray& body)
{
    const QString path = writeFile(dir, name, "#!/bin/sh\n" + body);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

// A stand-in office program for word-processor jobs: a shell script in dir that records the
// document it was asked for and prints "文字处理器的正文\n第二段" as LibreOffice prints a document, or
// never answers.
class StandInOffice
{
public:
    explicit StandInOffice(const QTemporaryDir& dir) : m_dir(dir)
    {
        script("printf '\\357\\273\\277文字处理器的正文\\n第二段\\n'\n");
    }
    // Prints nothing: the office could not read the file.
    void printNothing() { script("exit 0\n"); }
    // Starts a child of its own and waits, until killed.
    void neverAnswer()
    {
        script("sleep 300 &\necho $! > '" + m_dir.filePath(QStringLiteral("office-child")).toUtf8() +
               "'\nwait\n");
    }

    WordProcessorJobs jobs(std::chrono::milliseconds timeout = std::chrono::minutes(5)) const
    {
        return wordProcessorJobs({m_dir.filePath(QStringLiteral("stand-in-office")), timeout});
    }
    QStringList calls() const
    {
        return QString::fromUtf8(readFile(m_dir.filePath(QStringLiteral("office-calls"))))
            .split(u'\n', Qt::SkipEmptyParts);
    }
    // The never-answering office's own child, once it has started.
    qint64 child() const
    {
        return readFile(m_dir.filePath(QStringLiteral("office-child"))).trimmed().toLongLong();
    }

private:
    void script(const QByteArray& body)
    {
        writeScript(m_dir, "stand-in-office",
                    "echo \"$4\" >> '" + m_dir.filePath(QStringLiteral("office-calls")).toUtf8() + "'\n" +
                        body);
    }

    const QTemporaryDir& m_dir;
};
