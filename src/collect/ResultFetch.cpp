#include "app/Wait.h"
#include "collect/SearchResults.h"
#include "web/HttpRequest.h"

namespace tuji {

ResultPage FetchResultPage(HttpRequest& request, const std::string& address) {
    ResultPage page;
    for (int attempt = 0; attempt < 3; ++attempt) {
        page.text = request.FetchText(address);
        page.listPosition = FindListPosition(page.text);
        if (page.listPosition > 0) return page;
        WaitWithEvents(1000);
    }
    return page;
}

} // namespace tuji
