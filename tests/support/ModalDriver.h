#pragma once

// Drives a modal dialog from a test without blocking it: the action runs on
// the user-interface thread as soon as a modal widget is active, e.g.
//   WhenModal([](QWidget* box) { ...; static_cast<QDialog*>(box)->accept(); });
//   ShowMessage(...);   // returns once the action closed the box
// Header-only, for test targets that link QtWidgets.

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

namespace tuji::test {

inline void WhenModal(std::function<void(QWidget*)> action, int timeoutMs = 5000) {
    auto* timer = new QTimer(qApp);
    auto waited = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, waited, action, timeoutMs] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) {
            *waited += 5;
            if (*waited > timeoutMs) timer->deleteLater(); // nothing came: give up
            return;
        }
        timer->stop();
        timer->deleteLater();
        action(modal);
    });
    timer->start(5);
}

} // namespace tuji::test
