#include "app/CommandId.h"
#include "app/MainWindow.h"
#include "display/LogView.h"
#include "print/PageSelection.h"
#include "print/PrintTarget.h"
#include "print/SystemPrintTarget.h"
#include "support/TempFiles.h"
#include "support/TempSettings.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

using namespace ombrel;

namespace {

TEST(PageSelection, ChosenRangesAreCutToThePagesThereAre) {
    struct Case {
        std::vector<PageInterval> chosen;
        int pageCount;
        std::vector<int> pages;
    };
    const Case cases[] = {
        {{}, 3, {0, 1, 2}},                          // All
        {{{2, 3}}, 5, {1, 2}},                       // a range
        {{{4, 9}}, 5, {3, 4}},                       // past the end: cut to the last page
        {{{7, 9}}, 5, {4}},                          // wholly past the end: the last page
        {{{1, 2}, {2, 3}, {5, 5}}, 5, {0, 1, 2, 4}}, // overlapping ranges print each page once
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.pages));
        EXPECT_EQ(pagesToPrint(c.chosen, c.pageCount), c.pages);
    }
}

TEST(SystemPrintTarget, TheDialogOffersPageRangesButNotTheSelection) {
    QPrinter printer;
    bool ran = false;
    SystemPrintTarget target([&ran](QDialog& dialog) {
        auto* print = qobject_cast<QPrintDialog*>(&dialog);
        EXPECT_NE(print, nullptr);
        if (print) {
            EXPECT_TRUE(print->testOption(QAbstractPrintDialog::PrintPageRange));
            EXPECT_FALSE(print->testOption(QAbstractPrintDialog::PrintSelection));
            EXPECT_EQ(print->minPage(), 1);
            EXPECT_EQ(print->maxPage(), 7);
        }
        ran = true;
        return false;
    });
    EXPECT_FALSE(target.choose(printer, 7, nullptr));
    EXPECT_TRUE(ran);
}

// Prints to a PDF file on Letter paper; the "dialog" runs a script instead of asking.
class PdfTarget : public PrintTarget {
public:
    explicit PdfTarget(QString file) : file_(std::move(file)) {}
    bool printersAvailable() const override { return available; }
    std::unique_ptr<QPrinter> makeDefaultPrinter() const override {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(file_);
        printer->setPageSize(QPageSize(QPageSize::Letter));
        printer->setPageOrientation(QPageLayout::Portrait);
        return printer;
    }
    bool choose(QPrinter& printer, int pageCount, QWidget*) override {
        offeredPages.push_back(pageCount);
        if (inDialog) {
            inDialog(printer);
        }
        return accept;
    }

    bool available = true;
    bool accept = true;
    std::function<void(QPrinter&)> inDialog;
    std::vector<int> offeredPages;

private:
    QString file_;
};

// What one of poppler's tools prints for arguments.
QString poppler(const char* tool, const QStringList& arguments) {
    QProcess process;
    process.start(QString::fromLatin1(tool), arguments);
    EXPECT_TRUE(process.waitForFinished(20000)) << tool;
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The options that choose one page (1-based), or all pages for 0.
QStringList onlyPage(int page) {
    return page > 0 ? QStringList{QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                  QString::number(page)}
                    : QStringList{};
}

int pdfPages(const QString& pdf) {
    const auto match =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(poppler("pdfinfo", {pdf}));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QString pdfText(const QString& pdf, int page = 0) {
    return poppler("pdftotext", onlyPage(page)
                                    << QStringLiteral("-layout") << pdf << QStringLiteral("-"));
}

// The boxes of the words on the first page, in points from the paper's top-left corner.
std::vector<QRectF> wordBoxes(const QString& pdf) {
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\""));
    std::vector<QRectF> boxes;
    const QString html =
        poppler("pdftotext", onlyPage(1) << QStringLiteral("-bbox") << pdf << QStringLiteral("-"));
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        boxes.emplace_back(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                           QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()));
    }
    return boxes;
}

class PrintTest : public testing::Test {
protected:
    PrintTest() : target_(std::make_shared<PdfTarget>(pdf())) {}

    // A window watching a file of lineCount numbered lines.
    void watch(int lineCount, const QString& keywords = {}) {
        QByteArray text;
        for (int i = 1; i <= lineCount; ++i) {
            text += "line " + QByteArray::number(i) + " of the log\n";
        }
        const QString path = files_.write(QStringLiteral("watched.log"), text);
        temp_.store().writeSetting(QStringLiteral("Highlight"), QStringLiteral("1"));
        temp_.store().writeSetting(QStringLiteral("Keywords"), keywords);
        MainWindowSetup setup{{}, temp_.store(), QString(), {}, {}};
        setup.printTarget = target_;
        window_ = std::make_unique<MainWindow>(std::move(setup));
        window_->show();
        qobject_cast<QComboBox*>(window_->control(IdFileNameBox))->setEditText(path);
        qobject_cast<QComboBox*>(window_->control(IdIntervalBox))->setEditText(QStringLiteral("1"));
        qobject_cast<QLineEdit*>(window_->control(IdCountBox))->setText(QStringLiteral("1000000"));
        window_->dispatchCommand(IdStart);
        ASSERT_TRUE(window_->waitForDisplayIdle(5000));
    }
    // Prints through the menu and gives the PDF's path.
    QString print() {
        QFile::remove(pdf());
        window_->dispatchCommand(IdPrint);
        return pdf();
    }
    QString pdf() const { return files_.path(QStringLiteral("out.pdf")); }

    test::TempSettings temp_;
    test::TempFiles files_;
    std::shared_ptr<PdfTarget> target_;
    std::unique_ptr<MainWindow> window_;
};

TEST_F(PrintTest, TheTextPrintsWithOneInchMarginsOnAsManyPagesAsItNeeds) {
    watch(3);
    print();
    EXPECT_EQ(target_->offeredPages, std::vector<int>{1});
    EXPECT_EQ(pdfPages(pdf()), 1);
    EXPECT_TRUE(pdfText(pdf()).contains(QStringLiteral("line 3 of the log")));
    const auto boxes = wordBoxes(pdf());
    ASSERT_FALSE(boxes.empty());
    EXPECT_NEAR(boxes.front().left(), 72, 2); // one inch in points
    EXPECT_GE(boxes.front().top(), 72);
    EXPECT_LT(boxes.front().top(), 80);

    // A long text fills pages of 6.5 by 9 inches: nothing below 10 inches down.
    watch(300);
    print();
    const int pages = pdfPages(pdf());
    EXPECT_GE(pages, 4);
    EXPECT_EQ(target_->offeredPages.back(), pages);
    double lowest = 0;
    for (const QRectF& box : wordBoxes(pdf())) {
        lowest = std::max(lowest, box.bottom());
    }
    EXPECT_LE(lowest, 720);
    EXPECT_GT(lowest, 690); // the page is filled, not cut short
    EXPECT_TRUE(pdfText(pdf(), pages).contains(QStringLiteral("line 300 of the log")));

    // Lines taller than a page still end the pagination, one line a page.
    watch(3);
    window_->display()->setFont(QFont(QStringLiteral("DejaVu Sans"), 800));
    print();
    EXPECT_GE(pdfPages(pdf()), 3);
}

TEST_F(PrintTest, AChosenRangePrintsThosePages) {
    watch(300);
    print();
    ASSERT_GE(pdfPages(pdf()), 4);
    const QString second = pdfText(pdf(), 2);
    target_->inDialog = [](QPrinter& printer) {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 3);
    };
    print();
    EXPECT_EQ(pdfPages(pdf()), 2);
    EXPECT_EQ(pdfText(pdf(), 1), second);
}

TEST_F(PrintTest, PagesAreCountedForThePaperChosenInTheDialog) {
    watch(300);
    target_->inDialog = [](QPrinter& printer) {
        printer.setPageSize(QPageSize(QPageSize::A6));
        printer.setPageOrientation(QPageLayout::Landscape);
    };
    print();
    const int letterPages = target_->offeredPages.back();
    const int a6Pages = pdfPages(pdf());
    EXPECT_GT(a6Pages, 3 * letterPages); // nothing lost at the old breaks
    EXPECT_TRUE(pdfText(pdf(), a6Pages).contains(QStringLiteral("line 300 of the log")));
    const QString text = pdfText(pdf());
    for (int line = 1; line <= 300; ++line) {
        EXPECT_EQ(text.count(QStringLiteral("line %1 of the log\n").arg(line)), 1) << line;
    }
    // The next Print starts from the paper chosen.
    target_->inDialog = nullptr;
    print();
    EXPECT_EQ(target_->offeredPages.back(), a6Pages);
}

TEST_F(PrintTest, MarksPrintInBoldAndAnUpdateDuringTheDialogDoesNotReachThePrintout) {
    watch(3, QStringLiteral(";;of"));
    target_->inDialog = [this](QPrinter&) {
        window_->dispatchCommand(IdPrint); // refused while the dialog is open
        files_.write(QStringLiteral("watched.log"), "written while the dialog was open\n");
        EXPECT_TRUE(QTest::qWaitFor(
            [this] { return window_->display()->text().startsWith(u"written while"); }, 5000));
    };
    const QString text = pdfText(print());
    EXPECT_TRUE(text.contains(QStringLiteral("line 1 of the log")));
    EXPECT_FALSE(text.contains(QStringLiteral("written while")));
    EXPECT_EQ(target_->offeredPages.size(), 1u);
    EXPECT_TRUE(poppler("pdffonts", {pdf()}).contains(QStringLiteral("Bold")));
}

TEST_F(PrintTest, WithoutAPrinterPrintFailsAtOnceWithoutADialog) {
    watch(3);
    target_->available = false;
    print();
    EXPECT_TRUE(target_->offeredPages.empty());
    EXPECT_FALSE(QFile::exists(pdf()));
    auto* box = window_->findChild<QMessageBox*>(QStringLiteral("printFailedBox"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("Print operation failed"));
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Ombrel"));
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
}

} // namespace
