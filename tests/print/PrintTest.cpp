#include "app/CommandId.h"
#include "app/MainWindow.h"
#include "display/LogView.h"
#include "print/PageSelection.h"
#include "print/PrintTarget.h"
#include "print/SystemPrintTarget.h"
#include "support/TempFiles.h"
#include "support/TempSettings.h"

#include <QFile>
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
    const std::tuple<std::vector<PageInterval>, int, std::vector<int>> cases[] = {
        {{}, 3, {0, 1, 2}},                          // All
        {{{2, 3}}, 5, {1, 2}},                       // a range
        {{{4, 9}}, 5, {3, 4}},                       // past the end: cut to the last page
        {{{7, 9}}, 5, {4}},                          // wholly past the end: the last page
        {{{1, 2}, {2, 3}, {5, 5}}, 5, {0, 1, 2, 4}}, // overlapping ranges print each page once
    };
    for (const auto& [chosen, pageCount, pages] : cases) {
        EXPECT_EQ(pagesToPrint(chosen, pageCount), pages) << testing::PrintToString(pages);
    }
}

TEST(SystemPrintTarget, TheDialogOffersPageRangesButNotTheSelection) {
    QPrinter printer;
    std::tuple<bool, bool, int, int> offered;
    SystemPrintTarget target([&offered](QDialog& dialog) {
        const auto& print = dynamic_cast<QPrintDialog&>(dialog);
        offered = {print.testOption(QAbstractPrintDialog::PrintPageRange),
                   print.testOption(QAbstractPrintDialog::PrintSelection), print.minPage(),
                   print.maxPage()};
        return false;
    });
    EXPECT_FALSE(target.choose(printer, 7, nullptr));
    EXPECT_EQ(offered, std::tuple(true, false, 1, 7));
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

int pdfPages(const QString& pdf) {
    const auto match =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(poppler("pdfinfo", {pdf}));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// The text of one page (1-based), or of all for 0, laid out or as word boxes for "-bbox".
QString pdfText(const QString& pdf, int page = 0, const char* format = "-layout") {
    QStringList options{QString::fromLatin1(format)};
    if (page > 0) {
        options << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
                << QString::number(page);
    }
    return poppler("pdftotext", options << pdf << QStringLiteral("-"));
}

// The box around the words of the first page, in points from the paper's top-left corner.
QRectF textBounds(const QString& pdf) {
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\""));
    QRectF bounds;
    for (auto it = word.globalMatch(pdfText(pdf, 1, "-bbox")); it.hasNext();) {
        const auto m = it.next();
        bounds |= QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                         QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()));
    }
    return bounds;
}

class PrintTest : public testing::Test {
protected:
    PrintTest() : target_(std::make_shared<PdfTarget>(pdf())) {}

    // A window watching a file of lineCount numbered lines.
    void watch(int lineCount, const char* keywords = "") {
        QByteArray text;
        for (int i = 1; i <= lineCount; ++i) {
            text += "line " + QByteArray::number(i) + " of the log\n";
        }
        temp_.set({{"Highlight", "1"}, {"Keywords", keywords}});
        StartupOptions start;
        start.sourceText = files_.write(QStringLiteral("watched.log"), text);
        start.startRequested = true;
        start.checkInterval = 1;
        start.byteCount = 1'000'000;
        window_ = std::make_unique<MainWindow>(
            MainWindowSetup{start, temp_.store(), {}, {}, {}, {}, target_});
        window_->show();
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

TEST_F(PrintTest, TheTextPrintsAsItWasWhenPrintStartedWithOneInchMarginsAndBoldMarks) {
    watch(3, ";;of");
    target_->inDialog = [this](QPrinter&) {
        window_->dispatchCommand(IdPrint); // refused while the dialog is open
        files_.write(QStringLiteral("watched.log"), "written while the dialog was open\n");
        EXPECT_TRUE(QTest::qWaitFor(
            [this] { return window_->display()->text().startsWith(u"written while"); }, 5000));
    };
    const QString text = pdfText(print());
    EXPECT_TRUE(text.contains(QStringLiteral("line 3 of the log")));
    EXPECT_FALSE(text.contains(QStringLiteral("written while")));
    EXPECT_TRUE(poppler("pdffonts", {pdf()}).contains(QStringLiteral("Bold")));
    EXPECT_EQ(target_->offeredPages, std::vector<int>{1});
    EXPECT_EQ(pdfPages(pdf()), 1);
    const QRectF bounds = textBounds(pdf());
    EXPECT_NEAR(bounds.left(), 72, 2); // one inch in points
    EXPECT_GE(bounds.top(), 71.9);     // the box of a larger mark starts at the margin
    EXPECT_LT(bounds.top(), 80);

    // A long text fills pages of 6.5 by 9 inches: nothing below 10 inches down.
    target_->inDialog = nullptr;
    watch(300);
    print();
    EXPECT_GE(pdfPages(pdf()), 4);
    EXPECT_EQ(target_->offeredPages.back(), pdfPages(pdf()));
    EXPECT_LE(textBounds(pdf()).bottom(), 720);
    EXPECT_GT(textBounds(pdf()).bottom(), 690); // the page is filled, not cut short

    // Lines taller than a page still end the pagination, one line a page.
    watch(3);
    window_->display()->setFont(QFont(QStringLiteral("DejaVu Sans"), 800));
    print();
    EXPECT_GE(pdfPages(pdf()), 3);
}

TEST_F(PrintTest, PagesAreCountedForThePaperChosenInTheDialogAndARangePrintsThosePages) {
    watch(300);
    target_->inDialog = [](QPrinter& printer) {
        printer.setPageSize(QPageSize(QPageSize::A6));
        printer.setPageOrientation(QPageLayout::Landscape);
    };
    const QString text = pdfText(print());
    const int a6Pages = pdfPages(pdf());
    EXPECT_GT(a6Pages, 3 * target_->offeredPages.back()); // nothing lost at the Letter breaks
    for (int line = 1; line <= 300; ++line) {
        EXPECT_EQ(text.count(QStringLiteral("line %1 of the log\n").arg(line)), 1) << line;
    }

    // The next Print starts from the paper chosen.
    const QString second = pdfText(pdf(), 2);
    target_->inDialog = [](QPrinter& printer) {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 3);
    };
    print();
    EXPECT_EQ(target_->offeredPages.back(), a6Pages);
    EXPECT_EQ(pdfPages(pdf()), 2);
    EXPECT_EQ(pdfText(pdf(), 1), second);
}

TEST_F(PrintTest, ACancelledDialogPrintsNothingAndWithoutAPrinterPrintFailsAtOnce) {
    watch(3);
    target_->accept = false;
    EXPECT_FALSE(QFile::exists(print()));
    target_->available = false;
    print();
    EXPECT_EQ(target_->offeredPages.size(), 1u); // no dialog without a printer
    EXPECT_FALSE(QFile::exists(pdf()));
    auto* box = window_->findChild<QMessageBox*>(QStringLiteral("printFailedBox"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("Print operation failed"));
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Ombrel"));
    EXPECT_EQ(box->icon(), QMessageBox::Critical);
}

} // namespace
