#include "ui/platform/CodePage932.h"

#include <cerrno>
#include <iconv.h>

namespace
{

iconv_t converterOf(void *handle)
{
    return static_cast<iconv_t>(handle);
}

} // namespace

CodePage932Characters::CodePage932Characters()
{
    const iconv_t cd = iconv_open("UTF-16LE", "CP932");
    if (cd != iconv_t(-1))
        m_converter = cd;
}

CodePage932Characters::~CodePage932Characters()
{
    if (m_converter)
        iconv_close(converterOf(m_converter));
}

std::optional<char16_t> CodePage932Characters::unitOf(QByteArrayView character)
{
    if (!m_converter)
        return std::nullopt;
    const iconv_t cd = converterOf(m_converter);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char16_t out[2];
    char *in = const_cast<char *>(character.data());
    char *outAt = reinterpret_cast<char *>(out);
    size_t inLeft = size_t(character.size());
    size_t outLeft = sizeof out;
    if (iconv(cd, &in, &inLeft, &outAt, &outLeft) == size_t(-1) || inLeft != 0 ||
        outLeft != sizeof out - sizeof(char16_t))
        return std::nullopt;
    return out[0];
}

std::optional<QByteArray> encodeCodePage932(const QString &text)
{
    iconv_t cd = iconv_open("CP932", "UTF-16LE");
    if (cd == iconv_t(-1))
        return std::nullopt;
    const size_t size = size_t(text.size()) * 2;
    QByteArray out(qsizetype(size * 2 + 16), Qt::Uninitialized);
    char *in = const_cast<char *>(reinterpret_cast<const char *>(text.utf16()));
    size_t inLeft = size;
    char *outAt = out.data();
    size_t outLeft = size_t(out.size());
    std::optional<QByteArray> result;
    while (true) {
        const size_t done = iconv(cd, &in, &inLeft, &outAt, &outLeft);
        if (done != size_t(-1)) {
            out.truncate(outAt - out.data());
            result = out;
            break;
        }
        if (errno != E2BIG)
            break;
        const qsizetype used = outAt - out.data();
        out.resize(out.size() * 2);
        outAt = out.data() + used;
        outLeft = size_t(out.size() - used);
    }
    iconv_close(cd);
    return result;
}

bool systemCodePageIs932()
{
    // Qt takes UTF-8 for the system's encoding on Linux, whatever the locale says.
    return false;
}
