#include "rehost/ScanArticle.h"

#include "regex/PatternText.h"
#include "rehost/ClassifyReferences.h"

namespace tuji {

const char* const kImageTagPattern = R"(<img .*?src=("|'|)([^"'<> ]+)("|'|).*?>)";

ArticleScanner::ArticleScanner(std::string_view excludedAddresses)
    : hasExclusions_(!excludedAddresses.empty()) {
    imageTag_.SetPattern(kImageTagPattern);
    if (hasExclusions_) {
        exclusion_.SetPattern(WildcardToPattern(excludedAddresses));
    }
}

std::vector<std::string> ArticleScanner::CapturedReferences(std::string_view article) {
    std::vector<std::string> captured;
    int n = imageTag_.Execute(article);
    captured.reserve(static_cast<size_t>(n > 0 ? n : 0));
    for (int i = 1; i <= n; ++i)
        captured.push_back(imageTag_.SubMatchText(i, 2));
    return captured;
}

bool ArticleScanner::IsExcluded(const std::string& downloadAddress) {
    return hasExclusions_ && exclusion_.Execute(downloadAddress) > 0;
}

ArticleQueue ArticleScanner::ScanArticle(std::string_view article, std::string_view oldDomain) {
    std::function<bool(const std::string&)> excluded;
    if (hasExclusions_) excluded = [this](const std::string& a) { return IsExcluded(a); };
    return ClassifyReferences(CapturedReferences(article), oldDomain, excluded);
}

} // namespace tuji
