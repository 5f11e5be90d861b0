#include "fs/FolderListing.h"

#include "app/Paths.h"
#include "fs/FolderNames.h"
#include "fs/WildcardName.h"
#include "regex/RegexFilter.h"
#include "text/TextOps.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <functional>

namespace tuji {

namespace {

// Lets the window handle its events while a large folder is listed; only on
// the user-interface thread, and not more often than every 10 ms, which
// keeps listing a folder of thousands of names cheap.
class EventPump {
public:
    EventPump() {
        auto* app = QCoreApplication::instance();
        active_ = app && QThread::currentThread() == app->thread();
        if (active_) clock_.start();
    }
    void Tick() {
        if (!active_ || clock_.elapsed() < 10) return;
        QCoreApplication::processEvents();
        clock_.restart();
    }

private:
    bool active_ = false;
    QElapsedTimer clock_;
};

int AddPassing(std::string_view folder, const std::vector<std::string>& names,
               const std::function<bool(const std::string&)>& passes,
               std::vector<std::string>& result, EventPump& pump) {
    for (const std::string& name : names) {
        if (passes(name)) result.push_back(JoinPath(folder, name));
        pump.Tick();
    }
    return int(result.size());
}

} // namespace

int ListFolderEntries(std::string_view folder, std::string_view filter,
                      std::vector<std::string>& result, bool append, bool folders) {
    RegexFilter pattern;
    EventPump pump;
    if (!append) result.clear();
    const std::string f = filter.empty() ? std::string("*") : std::string(filter);

    std::function<bool(const std::string&)> passes;
    if (f == "*.*" || f == "*") {
        passes = [](const std::string&) { return true; };
    } else if (StartsWithText(f, "*.") && FindLastText(f, "*") == 1) {
        const std::string extension = LowerAscii(f.substr(1));
        passes = [extension](const std::string& name) {
            return EndsWithText(name, extension, Case::Ignore);
        };
    } else {
        pattern.Create(RegexFilter::WildcardToPattern(f));
        passes = [&pattern](const std::string& name) { return pattern.Execute(name) > 0; };
    }
    return AddPassing(folder, ReadFolderNames(folder, folders), passes, result, pump);
}

int SearchFolderEntries(std::string_view folder, std::string_view filter,
                        std::vector<std::string>& result, bool append, bool folders) {
    EventPump pump;
    const std::string f = filter.empty() ? std::string("*.*") : std::string(filter);
    const std::vector<std::string> patterns = SplitText(f, "|");
    if (!append) result.clear();
    const std::vector<std::string> names = ReadFolderNames(folder, folders);
    for (const std::string& p : patterns) {
        const WildcardName wildcard(p);
        AddPassing(
            folder, names, [&wildcard](const std::string& name) { return wildcard.Matches(name); },
            result, pump);
    }
    return int(result.size());
}

} // namespace tuji
