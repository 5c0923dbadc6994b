// libFuzzer target: the RTF reader on any bytes, and the writer on whatever it read. Neither may
// crash, hang or grow without bound; what the writer writes must read back as rich text.
#include "documents/RtfReader.h"
#include "documents/RtfWriter.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<richtext::Document> document = rtf::read(input);
    if (!document)
        return 0;
    const QByteArray written = rtf::write(*document);
    if (!rtf::read(written))
        std::abort();
    return 0;
}
