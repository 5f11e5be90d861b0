#include "app/ui/Dialogs.h"

#include "app/Paths.h"
#include "app/ui/ColourPicker.h"
#include "text/Encoding.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace tuji {

std::string PickOpenFile(QWidget* owner, const std::string& title,
                         const std::vector<FileFilter>& filters, const std::string& initial) {
    QStringList entries;
    for (const auto& [name, patterns] : filters)
        entries << ToQString(name) + " (" + ToQString(patterns).replace(';', ' ') + ")";
    const QString file =
        QFileDialog::getOpenFileName(owner, ToQString(title), FsPath(initial), entries.join(";;"));
    return file.isEmpty() ? std::string() : TextFromFsPath(QDir::toNativeSeparators(file));
}

bool PickFont(QWidget* owner, FontChoice& choice, const std::string& title) {
    QDialog dialog(owner);
    dialog.setWindowTitle(title.empty() ? QString::fromUtf8("字体") : ToQString(title));
    auto* fonts = new QFontDialog(choice.font, &dialog);
    // Embedded: the outer dialog has the buttons, since the colour goes with them.
    fonts->setWindowFlags(Qt::Widget);
    fonts->setOptions(QFontDialog::NoButtons);
    auto* colourRow = new QHBoxLayout;
    auto* colour = new ColourPicker(&dialog);
    colour->setObjectName(QString::fromUtf8("颜色选择器字色"));
    colour->setColour(choice.colour);
    colour->setFixedSize(64, 24);
    colourRow->addWidget(new QLabel(QString::fromUtf8("颜色："), &dialog));
    colourRow->addWidget(colour);
    colourRow->addStretch();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(fonts);
    layout->addLayout(colourRow);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) return false;
    choice.font = fonts->currentFont();
    choice.colour = colour->colour() == kTransparentColour ? 0 : colour->colour();
    return true;
}

} // namespace tuji
