#include "web/SystemProxy.h"

#include "text/Encoding.h"

#ifdef _WIN32
#include <QSettings>
#endif

namespace tuji {

std::string SystemProxyServer() {
#ifdef _WIN32
    QSettings internet(
        "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
        QSettings::NativeFormat);
    return FromQString(internet.value("ProxyServer").toString());
#else
    return {};
#endif
}

} // namespace tuji
