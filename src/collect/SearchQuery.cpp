#include "collect/SearchQuery.h"

#include "app/TextHelpers.h"
#include "text/Encoding.h"
#include "text/PercentEncoding.h"
#include "text/TextOps.h"

namespace tuji {

const char* const kDefaultSearchService = "https://image.so.com";

namespace {

bool IsAsciiAlnum(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::vector<std::string> Items(std::initializer_list<const char*> utf8) {
    std::vector<std::string> out;
    for (const char* s : utf8)
        out.push_back(T(s));
    return out;
}

} // namespace

std::string UrlEncode(std::string_view text, bool asUtf8, bool keepAmpersandAndEquals,
                      bool everyByte) {
    std::string bytes = asUtf8 ? TextToUtf8Lenient(text) : std::string(text);
    std::string out = PercentEncodeBytes(
        bytes, [everyByte](unsigned char c) { return everyByte || !IsAsciiAlnum(c); });
    // The converted text ends with its zero byte, which never belongs in a
    // query; a zero inside the text goes with it.
    if (asUtf8) out = ReplaceText(out, "%00", "");
    if (keepAmpersandAndEquals) out = ReplaceEach(out, "%26|%3D", "&|=");
    if (!everyByte) out = ReplaceEach(out, "%2E|%5F|%2D", ".|_|-");
    return out;
}

std::string BuildSearchAddress(std::string_view base, std::string_view keyword, int typeIndex,
                               std::string_view colourItem, int sizeIndex, int offset) {
    std::string host(base);
    while (EndsWithText(host, "/"))
        host.pop_back();
    static const char* const kTypes[] = {"0", "d", "s"};
    const char* t = typeIndex >= 0 && typeIndex <= 2 ? kTypes[typeIndex] : "0";
    return host + "/j?q=" + UrlEncode(keyword, true) + "&src=srp&t=" + t +
           "&color=" + TextBetween(colourItem, "(", ")") + "&zoom=" + NumberText(sizeIndex) +
           "&sn=" + NumberText(offset) + "&pn=" + NumberText(kHitsPerPage);
}

std::vector<std::string> SizeChoiceItems() {
    return Items({"全部尺寸", "大尺寸", "中尺寸", "小尺寸", "壁纸尺寸"});
}

std::vector<std::string> TypeChoiceItems() {
    return Items({"全部类型", "动态类型", "静态类型"});
}

std::vector<std::string> ColourChoiceItems() {
    return Items({"全部颜色", "红色(red)", "橙色(orange)", "黄色(yellow)", "绿色(green)",
                  "青色(grass)", "蓝色(blue)", "紫色(purple)", "粉红色(pink)", "棕色(brown)",
                  "黑色(black)", "白色(white)", "黑白(bandw)"});
}

} // namespace tuji
