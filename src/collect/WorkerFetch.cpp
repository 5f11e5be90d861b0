#include "app/Wait.h"
#include "collect/DownloadJob.h"
#include "web/HttpRequest.h"

namespace tuji {

std::string DownloadWithRetries(const std::string& address) {
    // Workers never share the user-interface thread's request object.
    HttpRequest request;
    std::string body;
    for (int attempt = 0; attempt < 2; ++attempt) {
        body = request.FetchBytes(address);
        if (!body.empty()) break;
        SleepOnWorker(1000);
    }
    return body;
}

} // namespace tuji
