#pragma once

// The scan of one article: every image tag the image-tag pattern finds
// gives the address between "src=" and the closing quote, space or angle
// bracket, exactly as its bytes stand in the article.

#include "regex/RegexObject.h"
#include "rehost/ArticleQueue.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tuji {

// Letter case is ignored, quotes are optional, "." never takes a line break.
extern const char* const kImageTagPattern;

// The scan state of one job: the image-tag matcher and the exclusion
// matcher, set up once when the job starts. Used on the job's thread only.
class ArticleScanner {
public:
    // Excluded addresses: wildcard alternatives separated by "|", matched
    // anywhere in a resolved address, ignoring case; empty excludes nothing.
    explicit ArticleScanner(std::string_view excludedAddresses);

    // The captured references of the article, in article order.
    std::vector<std::string> CapturedReferences(std::string_view article);
    bool IsExcluded(const std::string& downloadAddress);

    // The article's queue (see ClassifyReferences).
    ArticleQueue ScanArticle(std::string_view article, std::string_view oldDomain);

private:
    RegexObject imageTag_;
    RegexObject exclusion_;
    bool hasExclusions_;
};

} // namespace tuji
