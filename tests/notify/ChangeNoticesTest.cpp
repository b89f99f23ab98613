#include "notify/ChangeNotices.h"

#include "display/DisplayModel.h"
#include "display/KeywordPass.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace ombrel;
using namespace Qt::StringLiterals;

namespace {

std::shared_ptr<const DisplayModel> modelOf(const QString& text) {
    auto pass = KeywordPass::run({text, {u"error"_s}, {true, false, false}, 1});
    return DisplayModel::fromPass(std::move(*pass));
}

ShownUpdate shownUpdate(const QString& text, bool change = true, std::uint64_t generation = 1) {
    auto model = modelOf(text);
    return {generation, change, model, std::make_shared<MarkedLines>(MarkedLines::of(*model))};
}

} // namespace

TEST(MarkedLines, KeepsTheNewestMarkedLinesOnceEachAndTheNewestLineWithText) {
    QString text;
    for (int i = 0; i < 1005; ++i) {
        text += u"ERROR %1\n"_s.arg(i);
    }
    text += QString(5000, u'e') + u"rror error\n\n"_s; // many marks, one line; then an empty one
    const auto model = modelOf(text);
    const MarkedLines lines = MarkedLines::of(*model);
    ASSERT_EQ(lines.marked().size(), MarkedLines::kept);
    EXPECT_EQ(lines.marked().front().line, 6);
    EXPECT_EQ(lines.marked().back().line, 1005);
    EXPECT_EQ(lines.newest()->line, 1005);
    EXPECT_EQ(lines.find(MarkedLines::lineHash(*model, 300)), 300);
    EXPECT_EQ(lines.find(MarkedLines::lineHash(*model, 3)), std::nullopt); // no longer kept
    // Lines alike in the characters hashed but not in length are told apart.
    const auto longer = modelOf(QString(MarkedLines::hashedChars, u'x') + u"\n"_s +
                                QString(MarkedLines::hashedChars + 1, u'x'));
    EXPECT_NE(MarkedLines::lineHash(*longer, 0), MarkedLines::lineHash(*longer, 1));
}

TEST(ChangeNotices, AChangeNamesTheMarkedLinesTheUpdateBeforeDidNotShow) {
    struct Case {
        const char* name;
        QString before, after;
        NotifyChoice choice;
        std::optional<QStringList> lines; // nothing: no notice
        std::int64_t moreLines = 0;
        std::int64_t targetLine = -1;
    };
    const Case cases[] = {
        {"appended mark", u"a\nERROR 1\n"_s, u"a\nERROR 1\nb\nError 2\nc\n"_s,
         NotifyChoice::Keywords, QStringList{u"Error 2"_s}, 0, 3},
        {"another copy of a shown line", u"ERROR x\n"_s, u"ERROR x\nok\nERROR x\n"_s,
         NotifyChoice::Keywords, QStringList{u"ERROR x"_s}, 0, 2},
        {"marks that scrolled off tell nothing", u"ERROR 1\nERROR 2\nb\n"_s, u"ERROR 2\nb\nc\n"_s,
         NotifyChoice::Keywords, std::nullopt},
        {"no new mark, every change: the newest line", u"ERROR 1\n"_s, u"ERROR 1\nlast\n\n"_s,
         NotifyChoice::EveryChange, QStringList{u"last"_s}, 0, 1},
        {"five new: the newest three", u"x\n"_s,
         u"x\nerror 1\nerror 2\nerror 3\nerror 4\nerror 5\n"_s, NotifyChoice::EveryChange,
         QStringList{u"error 3"_s, u"error 4"_s, u"error 5"_s}, 2, 3},
        {"off", u"a\n"_s, u"a\nERROR\n"_s, NotifyChoice::Off, std::nullopt},
        {"emptied, every change", u"a\n"_s, QString(), NotifyChoice::EveryChange, QStringList{}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ChangeNotices notices;
        EXPECT_FALSE(notices.shown(shownUpdate(c.before), c.choice)); // the first
        const ShownUpdate after = shownUpdate(c.after);
        const std::optional<Notice> notice = notices.shown(after, c.choice);
        ASSERT_EQ(notice.has_value(), c.lines.has_value());
        if (!notice) {
            continue;
        }
        EXPECT_EQ(notice->lines, *c.lines);
        EXPECT_EQ(notice->moreLines, c.moreLines);
        ASSERT_EQ(notice->target.has_value(), c.targetLine >= 0);
        if (notice->target) {
            EXPECT_EQ(notice->target->line.line, c.targetLine);
            EXPECT_EQ(notices.locate(*notice->target), c.targetLine);
        }
    }
}

TEST(ChangeNotices, OnlyAnAnnouncedChangeOfTheSameSessionTells) {
    ChangeNotices notices;
    const auto choice = NotifyChoice::EveryChange;
    EXPECT_FALSE(notices.shown(shownUpdate(u"a\n"_s), choice));
    // Not a change (new keywords, a Start's first read), or a new session: the base moves on.
    EXPECT_FALSE(notices.shown(shownUpdate(u"a\nERROR\n"_s, false), choice));
    EXPECT_FALSE(notices.shown(shownUpdate(u"a\nERROR\nERROR\n"_s, true, 2), choice));
    const auto notice =
        notices.shown(shownUpdate(u"a\nERROR\nERROR\nERROR 3\n"_s, true, 2), choice);
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->lines, QStringList{u"ERROR 3"_s});
}

TEST(ChangeNotices, ANamedLineIsFoundInLaterTextsWhileItIsThere) {
    ChangeNotices notices;
    const auto choice = NotifyChoice::Keywords;
    notices.shown(shownUpdate(u"a\n"_s), choice);
    const ShownUpdate named = shownUpdate(u"a\nERROR disk\nb\nERROR disk\n"_s);
    const auto notice = notices.shown(named, choice);
    ASSERT_TRUE(notice && notice->target);
    EXPECT_EQ(notices.locate(*notice->target), 1); // the line named, not the newest copy
    // The display moved on: the newest line like it, while there is one.
    const ShownUpdate later = shownUpdate(u"ERROR disk\nb\nc\nd\n"_s);
    notices.shown(later, choice);
    EXPECT_EQ(notices.locate(*notice->target), 0);
    notices.shown(shownUpdate(u"b\nc\nd\n"_s), choice);
    EXPECT_EQ(notices.locate(*notice->target), std::nullopt);
}
