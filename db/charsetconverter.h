// Conversion of byte strings between two named character sets through iconv,
// plus the modified UTF-7 of IMAP folder names ("utf-7-imap" or "utf-7m") on
// either side, which iconv does not know.
#ifndef DB_CHARSETCONVERTER_H
#define DB_CHARSETCONVERTER_H

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace brantel::utils {

class CharsetConverter
{
public:
    // Throws std::runtime_error when iconv cannot convert between the two
    // names and throwOnError is set; otherwise the converter is unusable.
    // lenient: malformed folder-encoding input keeps "&" as a literal.
    CharsetConverter(const char *source, const char *target, bool throwOnError = false,
                     bool lenient = false);
    virtual ~CharsetConverter();
    CharsetConverter(const CharsetConverter &) = delete;
    CharsetConverter &operator=(const CharsetConverter &) = delete;

    bool isValid() const;
    // Convert a whole string; characters the target cannot represent are dropped.
    bool convert(std::string_view input, std::string &output);

private:
    bool decodeFolderName(std::string_view input, std::string &ucs2);
    bool encodeFolderName(std::string_view ucs2, std::string &output);
    bool runIconv(std::string_view input, std::string &output);
    bool inputIsWellFormed(std::string_view input) const;
    void fail(const char *message);

    void *m_handle; // iconv_t, or (void *)-1 when it could not be opened
    bool m_lenient;
    bool m_throwOnError;
    std::string m_sourceName; // as given to iconv
    bool m_sourceIsFolder = false;
    bool m_targetIsFolder = false;
    // Coding state of the folder encoding while a string is encoded.
    bool m_inRun = false;
    int m_pendingBits = 0;
    uint32_t m_bits = 0;
};

// Convert without throwing; false when the converter cannot be opened or the
// conversion fails.
bool convertString(const char *source, const char *target, std::string_view input,
                   std::string &output, bool lenient = true);

} // namespace brantel::utils

#endif // DB_CHARSETCONVERTER_H
