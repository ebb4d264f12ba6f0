#include "runtime/text_codec.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace rt {

std::string decodeCp932(std::string_view bytes, std::string* problem)
{
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        if (problem)
            *problem = std::string("code page 932 is not available to iconv: ") + std::strerror(errno);
        return "\xEF\xBF\xBD";
    }
    std::vector<char> in(bytes.begin(), bytes.end());
    std::string out(bytes.size() * 4 + 4, '\0');
    char* inPtr = in.data();
    size_t inLeft = in.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
        if (problem)
            *problem = std::string("undecodable code page 932 text: ") + std::strerror(errno);
        out.resize(out.size() - outLeft);
        iconv_close(cd);
        return out + "\xEF\xBF\xBD";
    }
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace rt
