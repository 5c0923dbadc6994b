#include "documents/Loading.h"

#include "documents/DocumentKind.h"
#include "documents/DocxReader.h"
#include "documents/ExpansionBudget.h"
#include "documents/OdtReader.h"
#include "documents/PdfReader.h"
#include "documents/RtfReader.h"
#include "documents/TextFileDecoding.h"
#include "documents/ZipArchive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace documents {
namespace {

std::variant<QByteArray, Failure> readWhole(const QString& path)
{
    if (const std::optional<Failure> failure = fileFailure(path))
        return *failure;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Failure::Unreadable;
    QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return Failure::Unreadable;
    if (bytes.size() > kMaxFileBytes)
        return Failure::TooLarge;
    return bytes;
}

// An OLE2 container that holds an "EncryptedPackage" stream: a Word 2007 document locked with a
// password. The stream's name stands in the container's directory in UTF-16.
bool isEncryptedOoxml(const QByteArray& bytes)
{
    static const QByteArray name =
        QByteArray::fromRawData("E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0", 32);
    return bytes.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1") && bytes.contains(name);
}

// The text of a ZIP container when one of the native readers handles it (readers permitting);
// Failure::Encrypted for a locked one, Failure::Overexpanded for one that unpacks or unfolds past the
// limits (never handed to the word processor); nothing when the word processor has to try.
std::optional<std::variant<QString, Failure>> readNatively(const QByteArray& bytes, Readers readers,
                                                           const CancelFlag* cancel)
{
    const ZipArchive archive(bytes);
    if (!archive.isOpen())
        return std::nullopt;
    if (archive.hasEncryptedEntry())
        return Failure::Encrypted;
    if (archive.hasOversizedEntry())
        return Failure::Overexpanded;
    const bool odf = archive.contains(QStringLiteral("content.xml"));
    if (odf && odt::isEncrypted(archive))
        return Failure::Encrypted;
    if (readers == Readers::NativeFirst) {
        ExpansionBudget budget(cancel);
        std::optional<QString> text = odf ? odt::read(archive, budget) : docx::read(archive, budget);
        if (budget.cancelled())
            return Failure::Cancelled;
        if (budget.exceeded() || archive.overLimit())
            return Failure::Overexpanded;
        if (text)
            return std::move(*text);
    }
    // The word processor reads what the directory promises; a container that breaks its word is not
    // handed on.
    archive.checkLengths();
    if (archive.overLimit())
        return Failure::Overexpanded;
    return std::nullopt;
}

// A name that promises a ZIP container: .docx, .odt and their kin. When its bytes are no container
// and no text either (text opens as text, as in LibreOffice), the user is told so by name.
bool isContainerName(const QString& path)
{
    static const QStringList suffixes{QStringLiteral("docx"), QStringLiteral("docm"), QStringLiteral("dotx"),
                                      QStringLiteral("dotm"), QStringLiteral("odt"),  QStringLiteral("ott")};
    return suffixes.contains(QFileInfo(path).suffix(), Qt::CaseInsensitive);
}

} // namespace

std::optional<Failure> fileFailure(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return Failure::Missing;
    if (!info.isFile() || !info.isReadable())
        return Failure::Unreadable;
    if (info.size() > kMaxFileBytes)
        return Failure::TooLarge;
    return std::nullopt;
}

Read read(const QString& path, const ReadOptions& options, const CancelFlag* cancel)
{
    const std::variant<QByteArray, Failure> content = readWhole(path);
    if (const Failure* failure = std::get_if<Failure>(&content))
        return *failure;
    const QByteArray& bytes = std::get<QByteArray>(content);
    if (bytes.isEmpty() && isContainerName(path))
        return Failure::EmptyDocument;
    const auto wordProcessor = [&]() -> Read {
        if (!options.wordProcessor)
            return Failure::WordProcessorMissing;
        Read result = options.wordProcessor(path);
        // A locked Word 2007 document the word processor could not open either is locked with a
        // password of the user's.
        if (const Failure* failure = std::get_if<Failure>(&result);
            failure && *failure == Failure::WordProcessorFailed && isEncryptedOoxml(bytes))
            return Failure::Encrypted;
        return result;
    };
    switch (kindOf(QFileInfo(path).fileName(), bytes)) {
    case Kind::WordProcessor:
        // A locked Word 2007 document may be locked with Office's default password, which the word
        // processor opens without a question: it goes there, and only its failure says it is locked.
        if (isEncryptedOoxml(bytes))
            return wordProcessor();
        if (auto native = readNatively(bytes, options.readers, cancel)) {
            if (QString* text = std::get_if<QString>(&*native))
                return std::move(*text);
            return std::get<Failure>(*native);
        }
        return wordProcessor();
    case Kind::RichText:
        // The reader refuses only what does not start like rich text.
        if (std::optional<richtext::Document> doc = rtf::read(bytes))
            return std::move(*doc);
        return Failure::NotText;
    case Kind::Pdf: {
        std::variant<QString, Failure> text = pdf::read(bytes, pdf::kMaxCharacters, pdf::kMaxPages, cancel);
        if (QString* plain = std::get_if<QString>(&text))
            return std::move(*plain);
        return std::get<Failure>(text);
    }
    case Kind::Text:
        if (std::optional<QString> text = textfile::decode(bytes))
            return std::move(*text);
        return isContainerName(path) ? Failure::NotAContainer : Failure::NotText;
    }
    return Failure::NotText;
}

QString openFailureMessage(const QString& path, Failure failure, std::chrono::milliseconds wordProcessorLimit)
{
    QString reason;
    switch (failure) {
    case Failure::Missing:
        reason = QStringLiteral("文件不存在。");
        break;
    case Failure::Unreadable:
        reason = QStringLiteral("无法读取该文件（它可能是一个文件夹，或者没有读取权限）。");
        break;
    case Failure::TooLarge:
        reason = QStringLiteral("文件超过 %1 MB，无法打开。").arg(kMaxFileBytes / (1024 * 1024));
        break;
    case Failure::NotText:
        reason = QStringLiteral("它既不是文本文件，也不是能识别的文档。");
        break;
    case Failure::Encrypted:
        reason = QStringLiteral("文件设有密码（已加密），无法读取。请换用一份打开时不需要密码的文件。");
        break;
    case Failure::WordProcessorMissing:
        reason = QStringLiteral("读取这种文档需要 LibreOffice，但无法启动它（可能没有安装）。");
        break;
    case Failure::WordProcessorTimedOut:
        reason = QStringLiteral("LibreOffice 在 %1 秒内没有读完该文档。")
                     .arg(QString::number(double(wordProcessorLimit.count()) / 1000, 'g', 15));
        break;
    case Failure::WordProcessorFailed:
        reason = QStringLiteral("LibreOffice 没能从中读出文字（文档可能已损坏，或不是它认识的格式）。");
        break;
    case Failure::Damaged:
        reason = QStringLiteral("文件已损坏，无法读取。");
        break;
    case Failure::NoTextLayer:
        reason = QStringLiteral("这个 PDF 文件里没有可读取的文字，可能是扫描件。");
        break;
    case Failure::Overexpanded:
        reason = QStringLiteral("文档展开后超过 %1 万字，可能已损坏或被恶意构造。")
                     .arg(ExpansionBudget::kMaxCharacters / 10000);
        break;
    case Failure::EmptyDocument:
        reason = QStringLiteral("文件是空的（0 字节），其中没有文档。");
        break;
    case Failure::NotAContainer:
        reason = QStringLiteral(
                     "文件的扩展名是 .%1，但内容既不是这种文档，也不是文本（可能已损坏，或只是改了扩展名）。")
                     .arg(QFileInfo(path).suffix());
        break;
    case Failure::TimeLimit:
        reason = QStringLiteral("文件过于复杂，读取超过了 %1 秒。").arg(kReadTimeLimit.count());
        break;
    case Failure::MemoryLimit:
        reason = QStringLiteral("文件过于复杂，读取需要的内存超过了 %1 GB。")
                     .arg(kReadMemoryLimit / (1024 * 1024 * 1024));
        break;
    case Failure::ReaderMissing:
        reason = QStringLiteral("无法启动读取文件的程序 tessaro-reader（安装可能不完整）。");
        break;
    case Failure::Cancelled:
        return QString();
    }
    return QStringLiteral("无法打开文件“%1”：\n%2").arg(QDir::toNativeSeparators(path), reason);
}

} // namespace documents
