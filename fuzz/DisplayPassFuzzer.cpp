// Runs the worker's whole display pass (decode, keywords, filters, model) on arbitrary bytes
// and keywords and checks what the view relies on: the line index finds every line of the
// text, the marks lie sorted and apart within the text, and a filter keeps a subset of lines.
// Flag bit 16 reads the keywords as regular expressions (arbitrary patterns: invalid ones, ones
// that match nothing or everywhere, backtracking ones); the text held narrow must mark the same.
// Input: one flags byte, one keyword-count byte, then per keyword a length byte and its bytes,
// then the file's bytes.
#include "display/DisplayLines.h"
#include "display/DisplayModel.h"
#include "display/KeywordPass.h"
#include "tail/TailTextDecoder.h"

#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

using namespace ombrel;

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

std::shared_ptr<const DisplayModel> modelOf(const LogText& text, const QStringList& keywords,
                                            KeywordFlags flags, std::int64_t* linesBefore) {
    auto pass = KeywordPass::run({text, keywords, flags, 1});
    check(pass.has_value());
    *linesBefore = pass->linesBeforeFiltering;
    return DisplayModel::fromPass(std::move(*pass));
}

void checkModel(const DisplayModel& model) {
    const QString text = model.text();
    for (const QChar c : text) {
        check(c != u'\r' && c != QChar(0x2029) && c != QChar(0xFDD0) && c != QChar(0xFDD1));
    }
    check(model.lineCount() == text.count(u'\n') + 1);
    std::int64_t start = 0;
    for (std::int64_t line = 0; line < model.lineCount(); ++line) {
        check(model.lineStart(line) == start);
        const std::int64_t length = model.lineLength(line);
        check(length >= 0 && start + length <= model.size());
        check(start + length == model.size() || text[start + length] == u'\n');
        check(model.lineOf(start) == line && model.lineOf(start + length) == line);
        start += length + 1;
    }
    std::int64_t previousEnd = 0;
    for (const MarkRun& mark : model.marks()) {
        check(mark.length > 0 && mark.start >= previousEnd && mark.end() <= model.size());
        check(mark.sizeSteps >= 0 && mark.sizeSteps <= model.maxSizeSteps());
        check(model.lineSizeSteps(model.lineOf(mark.start)) >= mark.sizeSteps);
        previousEnd = mark.end();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QByteArrayView input(data, static_cast<qsizetype>(size));
    if (input.size() < 2) {
        return 0;
    }
    const std::uint8_t flagBits = data[0];
    const int keywordCount = data[1] % 8;
    input = input.sliced(2);
    QStringList keywords;
    for (int k = 0; k < keywordCount && !input.isEmpty(); ++k) {
        const qsizetype length =
            std::min<qsizetype>(static_cast<std::uint8_t>(input[0]) % 8, input.size() - 1);
        keywords.append(QString::fromUtf8(input.sliced(1, length)));
        input = input.sliced(1 + length);
    }
    // An odd offset makes a UTF-16 file start inside a code unit.
    const std::int64_t offset = flagBits & 8U;
    const QByteArrayView fileStart = input.first(std::min<qsizetype>(4, input.size()));
    const QString text = TailTextDecoder::decode(input, offset, fileStart);
    const KeywordFlags filtered{(flagBits & 1U) != 0, (flagBits & 2U) != 0, (flagBits & 4U) != 0,
                                (flagBits & 16U) != 0};

    std::int64_t linesBefore = 0;
    const auto model = modelOf(text, keywords, filtered, &linesBefore);
    checkModel(*model);
    check(linesBefore == DisplayLines::count(text));

    // A text held narrow, as the decoder gives it in place: the same model as from the
    // decoded text.
    QByteArray bytes = input.toByteArray();
    QString wideUnits;
    if (TailTextDecoder::toNarrow(bytes, wideUnits, offset, fileStart)) {
        const LogText held = LogText::fromNarrow(bytes, wideUnits);
        check(held == LogText(text));
        std::int64_t narrowLines = 0;
        const auto narrow = modelOf(held, keywords, filtered, &narrowLines);
        check(narrow->content().isNarrow() && narrow->content() == model->content());
        check(narrow->marks() == model->marks() && narrowLines == linesBefore);
        check(narrow->lineCount() == model->lineCount());
    } else {
        check(bytes == input && wideUnits.isEmpty());
    }

    // The kept lines are lines of the unfiltered text, in order.
    std::int64_t unused = 0;
    const auto whole =
        modelOf(text, keywords,
                {filtered.highlightKeywords, false, false, filtered.keywordsAreRegex}, &unused);
    checkModel(*whole);
    check(whole->lineCount() == linesBefore);
    std::int64_t next = 0;
    for (std::int64_t line = 0; line + 1 < model->lineCount(); ++line) {
        while (next < whole->lineCount() && whole->lineText(next) != model->lineText(line)) {
            ++next;
        }
        check(next < whole->lineCount());
        ++next;
    }
    return 0;
}
