#pragma once

#include "support/UrlCatcher.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace ombrel::test {

/// Runs each step on the modal widget open at that moment, in turn, while run() is inside.
inline void withModals(std::vector<std::function<void(QWidget*)>> steps,
                       const std::function<void()>& run) {
    QObject scope; // no step outlives this call
    std::size_t done = 0;
    std::function<void()> next = [&] {
        QTimer::singleShot(20, &scope, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) {
                next(); // not up yet
                return;
            }
            steps[done++](modal);
            if (done < steps.size()) {
                next();
            }
        });
    };
    if (!steps.empty()) {
        next();
    }
    run();
    EXPECT_EQ(done, steps.size());
}

/// Runs inDialog on the modal Dialog that run() opens.
template <typename Dialog>
void whileOpen(const std::function<void()>& run, const std::function<void(Dialog&)>& inDialog) {
    withModals({[&](QWidget* modal) {
                   auto* dialog = qobject_cast<Dialog*>(modal);
                   ASSERT_NE(dialog, nullptr) << modal->metaObject()->className();
                   inDialog(*dialog);
               }},
               run);
}

/// Drags the files (and text, as file managers add) over the child of window and drops them.
inline void dropFiles(QWidget& window, QWidget* over, const QStringList& paths,
                      const QString& text = {}) {
    QMimeData files;
    QList<QUrl> urls;
    for (const QString& path : paths) {
        urls << QUrl::fromLocalFile(path);
    }
    files.setUrls(urls);
    if (!text.isEmpty()) {
        files.setText(text);
    }
    const QPoint at = over->mapTo(&window, QPoint(5, 5));
    QDragEnterEvent enter(at, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.windowHandle(), &enter);
    QDropEvent drop(at, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.windowHandle(), &drop);
}

/// Saves a picture of widget as name.png in OMBREL_SCREENSHOT_DIR when set, for a look at it.
inline void saveScreenshot(QWidget& widget, const char* name) {
    const QString folder = qEnvironmentVariable("OMBREL_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        EXPECT_TRUE(
            widget.grab().save(folder + u'/' + QLatin1String(name) + QStringLiteral(".png")));
    }
}

/// A UrlCatcher that takes the addresses of the given schemes until it goes.
class SchemeCatcher : public UrlCatcher {
public:
    explicit SchemeCatcher(std::initializer_list<const char*> schemes) {
        for (const char* scheme : schemes) {
            schemes_ << QString::fromLatin1(scheme);
            QDesktopServices::setUrlHandler(schemes_.back(), this, "open");
        }
    }
    ~SchemeCatcher() override {
        for (const QString& scheme : schemes_) {
            QDesktopServices::unsetUrlHandler(scheme);
        }
    }

private:
    QStringList schemes_;
};

} // namespace ombrel::test
