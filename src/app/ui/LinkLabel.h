#pragma once

// A text link of the header: reacts when the left button goes down on it
// (as the header's links do), and opens its target with the shell when it has
// one.

#include <QLabel>
#include <string>

namespace tuji {

class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

    // Program text; empty = no target, only pressed() is emitted.
    void setTarget(const std::string& target) { target_ = target; }
    const std::string& target() const { return target_; }

signals:
    void pressed();

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::string target_;
};

} // namespace tuji
