#pragma once

#include <QDialog>
#include <QString>

namespace ombrel {

class CreditsView;

/// The modal "About Ombrel" box: the archive's about picture with the credits scrolling over
/// it, and an OK button.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    /// Fetches "images\about.bmp" from the archive at archivePath (telling "getfile returned
    /// null" when it cannot, and showing an empty picture then) and scrolls credits, already
    /// unescaped, over it; empty credits show the picture alone.
    AboutBox(const QString& archivePath, const QString& credits, QWidget* parent = nullptr);

    /// The picture with the credits.
    CreditsView* creditsView() const { return view_; }

private:
    CreditsView* view_ = nullptr;
};

} // namespace ombrel
