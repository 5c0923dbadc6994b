#include "documents/ReadTransfer.h"

#include <QDataStream>
#include <QIODevice>

namespace documents {
namespace {

enum class Tag : quint8 { Text = 1, RichText = 2, Failure = 3 };
constexpr quint32 kMagic = 0x54524431; // "TRD1"

} // namespace

QByteArray serialise(const ReaderReport& report)
{
    QByteArray out;
    QDataStream stream(&out, QIODevice::WriteOnly);
    stream.setVersion(QDataStream::Qt_6_4);
    stream << kMagic << report.needsWordProcessor;
    if (const QString* text = std::get_if<QString>(&report.read)) {
        stream << quint8(Tag::Text) << *text;
    } else if (const richtext::Document* doc = std::get_if<richtext::Document>(&report.read)) {
        stream << quint8(Tag::RichText) << qint64(doc->paragraphs.size());
        for (const richtext::Paragraph& paragraph : doc->paragraphs) {
            stream << qint64(paragraph.runs.size());
            for (const richtext::Run& run : paragraph.runs) {
                const richtext::CharFormat& f = run.format;
                const richtext::Color color = f.color.value_or(richtext::Color{});
                stream << run.text << f.fontName << qint32(f.halfPoints) << f.color.has_value()
                       << qint32(color.red) << qint32(color.green) << qint32(color.blue) << f.bold << f.italic
                       << f.underline;
            }
        }
    } else {
        stream << quint8(Tag::Failure) << qint32(std::get<Failure>(report.read));
    }
    return out;
}

std::optional<ReaderReport> deserialise(const QByteArray& bytes)
{
    QDataStream stream(bytes);
    stream.setVersion(QDataStream::Qt_6_4);
    quint32 magic = 0;
    ReaderReport report;
    quint8 tag = 0;
    stream >> magic >> report.needsWordProcessor >> tag;
    if (magic != kMagic || stream.status() != QDataStream::Ok)
        return std::nullopt;
    switch (Tag(tag)) {
    case Tag::Text: {
        QString text;
        stream >> text;
        report.read = std::move(text);
        break;
    }
    case Tag::RichText: {
        richtext::Document doc;
        qint64 paragraphs = 0;
        stream >> paragraphs;
        for (qint64 p = 0; p < paragraphs && stream.status() == QDataStream::Ok; ++p) {
            richtext::Paragraph& paragraph = doc.paragraphs.emplace_back();
            qint64 runs = 0;
            stream >> runs;
            for (qint64 r = 0; r < runs && stream.status() == QDataStream::Ok; ++r) {
                richtext::Run& run = paragraph.runs.emplace_back();
                richtext::CharFormat& f = run.format;
                qint32 halfPoints = 0, red = 0, green = 0, blue = 0;
                bool hasColor = false;
                stream >> run.text >> f.fontName >> halfPoints >> hasColor >> red >> green >> blue >>
                    f.bold >> f.italic >> f.underline;
                f.halfPoints = halfPoints;
                if (hasColor)
                    f.color = richtext::Color{red, green, blue};
            }
        }
        report.read = std::move(doc);
        break;
    }
    case Tag::Failure: {
        qint32 failure = 0;
        stream >> failure;
        if (failure < 0 || failure > qint32(Failure::ReaderMissing))
            return std::nullopt;
        report.read = Failure(failure);
        break;
    }
    default:
        return std::nullopt;
    }
    if (stream.status() != QDataStream::Ok || !stream.atEnd())
        return std::nullopt;
    return report;
}

} // namespace documents
