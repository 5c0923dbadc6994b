#pragma once

#include "editor/RichTextConversion.h"
#include "platform/WordProcessor.h"

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

// Stands in for the word processor while it lives: records the paths asked for and gives answer.
class FakeWordProcessor
{
public:
    explicit FakeWordProcessor(std::optional<QString> answer) : answer(std::move(answer))
    {
        WordProcessor::setHandler([this](const QString& path) -> documents::WordProcessorResult {
            calls.append(path);
            if (this->answer)
                return *this->answer;
            return failure;
        });
    }
    ~FakeWordProcessor() { WordProcessor::setHandler({}); }
    FakeWordProcessor(const FakeWordProcessor&) = delete;
    FakeWordProcessor& operator=(const FakeWordProcessor&) = delete;

    std::optional<QString> answer;
    documents::Failure failure = documents::Failure::WordProcessorFailed; // the answer when there is no text
    QStringList calls;
};

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
