#include "app/Md5.h"

#include <QCryptographicHash>

namespace tuji {

std::string Md5Hex(std::string_view bytes) {
    QByteArray digest =
        QCryptographicHash::hash(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())),
                                 QCryptographicHash::Md5);
    return digest.toHex().toStdString();
}

std::string ShortHash(std::string_view bytes) {
    std::string hex = Md5Hex(bytes).substr(0, 9);
    for (char& c : hex)
        if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
    return hex;
}

} // namespace tuji
