#include "app/ui/Fonts.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

namespace tuji {

QString InstallFontSubstitutions() {
    const QStringList installed = QFontDatabase::families();
    const QStringList preferred = {
        "WenQuanYi Micro Hei", "Noto Sans CJK SC", "Noto Sans SC",    "Source Han Sans SC",
        "WenQuanYi Zen Hei",   "AR PL UMing CN",   "Microsoft YaHei", "SimSun"};
    QString face;
    for (const QString& name : preferred)
        if (installed.contains(name, Qt::CaseInsensitive)) {
            face = name;
            break;
        }
    if (face.isEmpty()) {
        for (const QString& name : installed)
            if (QFontDatabase::writingSystems(name).contains(QFontDatabase::SimplifiedChinese)) {
                face = name;
                break;
            }
    }
    if (face.isEmpty()) return {};

    const char* windowsFaces[] = {
        "宋体",  "新宋体",   "黑体",         "微软雅黑",       "楷体",
        "仿宋",  "SimSun",   "NSimSun",      "SimHei",         "Microsoft YaHei",
        "KaiTi", "FangSong", "MS Shell Dlg", "MS Shell Dlg 2", "Tahoma"};
    for (const char* name : windowsFaces) {
        const QString windowsFace = QString::fromUtf8(name);
        if (!installed.contains(windowsFace, Qt::CaseInsensitive))
            QFont::insertSubstitution(windowsFace, face);
    }
    QFont base = QApplication::font();
    base.setFamilies({face});
    QApplication::setFont(base);
    return face;
}

} // namespace tuji
