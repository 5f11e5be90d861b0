#pragma once

// Asking the image-search service for one page of hits: the request address
// of its "/j" endpoint and the percent-encoding of the keyword.

#include <string>
#include <string_view>
#include <vector>

namespace tuji {

// The service the program asks unless the settings file names another one
// (section "主界面", key "搜索服务").
extern const char* const kDefaultSearchService;
constexpr int kHitsPerPage = 30;

// Percent-encoding. asUtf8: the text's characters as UTF-8 bytes, else its
// own bytes. keepAmpersandAndEquals: "&" and "=" stay literal. everyByte:
// letters, digits, ".", "_" and "-" are encoded too.
std::string UrlEncode(std::string_view text, bool asUtf8, bool keepAmpersandAndEquals = false,
                      bool everyByte = false);

// base + "/j?q=…&src=srp&t=…&color=…&zoom=…&sn=…&pn=30". `base` is the
// service's scheme and host ("https://image.so.com"; a trailing "/" is
// dropped). typeIndex 0..2 (全部, 动态, 静态; anything else counts as 0),
// colourItem the chosen colour item's text, sizeIndex the chosen size index,
// offset the number of hits to skip.
std::string BuildSearchAddress(std::string_view base, std::string_view keyword, int typeIndex,
                               std::string_view colourItem, int sizeIndex, int offset);

// The items of the page's three choice lists, as program text.
std::vector<std::string> SizeChoiceItems();
std::vector<std::string> TypeChoiceItems();
std::vector<std::string> ColourChoiceItems();

} // namespace tuji
