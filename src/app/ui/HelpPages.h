#pragma once

// The three fixed targets of the header. The program has no public web site,
// so all three lead to the help pages that come with it.

#include <string>

namespace tuji {

inline constexpr const char* kMakerSitePage = "index.html";    // behind the logo 图片岚舟软件
inline constexpr const char* kHomePagePage = "about.html";     // 文字软件主页: this program
inline constexpr const char* kContactPage = "contact.html";    // 文字呼叫QQ: how to reach us
inline constexpr const char* kContactDisplayText = "联系我们"; // UTF-8

// The address (a file URL, program text) of a help page: the installed copy
// when there is one, else a copy written from the program's resources into
// the per-user cache folder. Empty when neither can be had.
std::string HelpPageAddress(const char* page);

} // namespace tuji
