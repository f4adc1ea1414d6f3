#include "db/charsetconverter.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <strings.h>

namespace brantel::utils {
namespace {

// The folder encoding is carried through iconv as UTF-16 big-endian: the
// same 16-bit units as UCS-2 below U+10000, plus surrogate pairs above, so
// no character of a folder name is lost.
constexpr const char *FolderUnits = "UTF-16BE";

bool isFolderEncoding(const char *name)
{
    return name && (strcasecmp(name, "utf-7-imap") == 0 || strcasecmp(name, "utf-7m") == 0);
}

const char Base64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+,";

int base64Value(unsigned char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == ',')
        return 63;
    return -1;
}

void appendUnit(std::string &out, uint32_t unit)
{
    out.push_back(char((unit >> 8) & 0xff));
    out.push_back(char(unit & 0xff));
}

iconv_t invalidHandle()
{
    return reinterpret_cast<iconv_t>(-1);
}

} // namespace

CharsetConverter::CharsetConverter(const char *source, const char *target, bool throwOnError,
                                   bool lenient)
    : m_handle(invalidHandle())
    , m_lenient(lenient)
    , m_throwOnError(throwOnError)
{
    std::string sourceName = source ? source : "";
    std::string targetName = target ? target : "";
    if (isFolderEncoding(source)) {
        sourceName = FolderUnits;
        m_sourceIsFolder = true;
    }
    if (isFolderEncoding(target)) {
        targetName = std::string(FolderUnits) + "//IGNORE";
        m_targetIsFolder = true;
    } else {
        targetName += "//IGNORE";
    }
    m_sourceName = sourceName;
    m_handle = iconv_open(targetName.c_str(), sourceName.c_str());
    if (m_handle == invalidHandle() && throwOnError) {
        char message[256];
        std::snprintf(message, sizeof message,
                      "CharsetConverter: failed to initialize string conversion from \"%s\" "
                      "encoding to \"%s\" encoding",
                      source ? source : "", target ? target : "");
        throw std::runtime_error(message);
    }
}

CharsetConverter::~CharsetConverter()
{
    if (m_handle != invalidHandle())
        iconv_close(static_cast<iconv_t>(m_handle));
}

bool CharsetConverter::isValid() const
{
    return m_handle != invalidHandle();
}

void CharsetConverter::fail(const char *message)
{
    if (m_throwOnError)
        throw std::runtime_error(message);
}

bool CharsetConverter::convert(std::string_view input, std::string &output)
{
    if (!isValid())
        return false;
    std::string units;
    if (m_sourceIsFolder) {
        if (!decodeFolderName(input, units))
            return false;
        input = units;
    }
    std::string converted;
    if (!runIconv(input, converted))
        return false;
    if (m_targetIsFolder) {
        std::string encoded;
        if (!encodeFolderName(converted, encoded))
            return false;
        output = std::move(encoded);
    } else {
        output = std::move(converted);
    }
    return true;
}

bool CharsetConverter::inputIsWellFormed(std::string_view input) const
{
    // UTF-32 holds every character, so only malformed input can fail here.
    iconv_t check = iconv_open("UTF-32LE", m_sourceName.c_str());
    if (check == invalidHandle())
        return true;
    std::string buffer(input.size() * 4 + 16, '\0');
    char *in = const_cast<char *>(input.data());
    size_t inLeft = input.size();
    char *out = buffer.data();
    size_t outLeft = buffer.size();
    const bool ok = iconv(check, &in, &inLeft, &out, &outLeft) != size_t(-1) && inLeft == 0;
    iconv_close(check);
    return ok;
}

bool CharsetConverter::runIconv(std::string_view input, std::string &output)
{
    if (!m_lenient && !inputIsWellFormed(input)) {
        fail("The conversion failed - malformed input.");
        return false;
    }
    auto cd = static_cast<iconv_t>(m_handle);
    iconv(cd, nullptr, nullptr, nullptr, nullptr); // fresh state for every string
    std::string buffer(input.size() * 4 + 16, '\0');
    char *in = const_cast<char *>(input.data());
    size_t inLeft = input.size();
    size_t used = 0;
    while (inLeft > 0) {
        char *out = buffer.data() + used;
        size_t outLeft = buffer.size() - used;
        const char *before = in;
        const size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
        used = size_t(out - buffer.data());
        if (result != size_t(-1))
            continue;
        if (errno == E2BIG) {
            buffer.resize(buffer.size() * 2);
        } else if (errno == EILSEQ || errno == EINVAL) {
            // With //IGNORE iconv may stop after dropping characters; only
            // a call that made no progress points at malformed input.
            if (inLeft == 0 || in != before)
                continue;
            if (!m_lenient) {
                fail("The conversion failed - malformed input.");
                return false;
            }
            ++in;
            --inLeft;
        } else {
            return false;
        }
    }
    // Write whatever ends the output (shift sequences).
    while (true) {
        char *out = buffer.data() + used;
        size_t outLeft = buffer.size() - used;
        const size_t result = iconv(cd, nullptr, nullptr, &out, &outLeft);
        used = size_t(out - buffer.data());
        if (result == size_t(-1) && errno == E2BIG) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        break;
    }
    buffer.resize(used);
    output = std::move(buffer);
    return true;
}

bool CharsetConverter::encodeFolderName(std::string_view units, std::string &output)
{
    if (units.size() % 2 != 0) {
        fail("Internal error when converting to UTF-7-IMAP");
        return false;
    }
    m_inRun = false;
    m_pendingBits = 0;
    m_bits = 0;
    output.clear();
    auto closeRun = [&] {
        if (m_pendingBits > 0)
            output.push_back(Base64[(m_bits << (6 - m_pendingBits)) & 0x3f]);
        output.push_back('-');
        m_inRun = false;
        m_pendingBits = 0;
        m_bits = 0;
    };
    for (size_t i = 0; i < units.size(); i += 2) {
        const uint32_t unit = (uint32_t(uint8_t(units[i])) << 8) | uint8_t(units[i + 1]);
        if (unit < 128) {
            if (m_inRun)
                closeRun();
            if (unit == '&')
                output += "&-";
            else
                output.push_back(char(unit));
            continue;
        }
        if (!m_inRun) {
            output.push_back('&');
            m_inRun = true;
        }
        m_bits = (m_bits << 16) | unit;
        m_pendingBits += 16;
        while (m_pendingBits >= 6) {
            m_pendingBits -= 6;
            output.push_back(Base64[(m_bits >> m_pendingBits) & 0x3f]);
        }
        m_bits &= (1u << m_pendingBits) - 1;
    }
    if (m_inRun)
        closeRun();
    return true;
}

bool CharsetConverter::decodeFolderName(std::string_view input, std::string &units)
{
    units.clear();
    size_t i = 0;
    const size_t n = input.size();
    while (i < n) {
        const auto c = static_cast<unsigned char>(input[i]);
        if (c >= 128)
            break; // not part of the folder encoding: the text ends here
        if (c != '&') {
            appendUnit(units, c);
            ++i;
            continue;
        }
        if (i + 1 < n && input[i + 1] == '-') {
            appendUnit(units, '&');
            i += 2;
            continue;
        }
        bool malformed = false;
        const bool tooShort = n - (i + 1) < 3;
        std::string run;
        size_t j = i + 1;
        if (!tooShort) {
            uint32_t bits = 0;
            int pending = 0;
            while (j < n && input[j] != '-') {
                const int value = base64Value(static_cast<unsigned char>(input[j]));
                if (value < 0) {
                    malformed = true;
                    break;
                }
                bits = ((bits << 6) | uint32_t(value)) & 0x3fffff;
                pending += 6;
                if (pending >= 16) {
                    pending -= 16;
                    appendUnit(run, (bits >> pending) & 0xffff);
                }
                ++j;
            }
            // The run must end with "-", hold at least one unit and leave
            // only zero padding bits behind.
            if (!malformed
                && (j >= n || run.empty() || pending >= 6 || (bits & ((1u << pending) - 1)) != 0))
                malformed = true;
        }
        if (!tooShort && !malformed) {
            units += run;
            i = j + 1;
            continue;
        }
        if (m_lenient) {
            appendUnit(units, '&');
        } else if (m_throwOnError) {
            throw std::runtime_error(tooShort ? "The conversion failed - malformed UTF7-IMAP ('&')."
                                              : "The conversion failed - malformed UTF7-IMAP.");
        }
        ++i; // the offending "&" is kept literally (lenient) or skipped
    }
    return true;
}

bool convertString(const char *source, const char *target, std::string_view input,
                   std::string &output, bool lenient)
{
    CharsetConverter converter(source, target, false, lenient);
    if (!converter.isValid())
        return false;
    return converter.convert(input, output);
}

} // namespace brantel::utils
