#pragma once

#include "display/DisplayModel.h"

#include <QMimeData>
#include <cstdint>
#include <memory>

namespace ombrel {

/// A selected range of a display text as plain text for the clipboard, made only when asked
/// for. It shares the text it was selected in, so it keeps giving that text whatever the
/// display shows later, at no cost for a large selection until it is pasted.
class SelectionMimeData : public QMimeData {
public:
    /// The length characters of model from start.
    SelectionMimeData(std::shared_ptr<const DisplayModel> model, std::int64_t start,
                      std::int64_t length);
    /// Lets go of the text on a worker thread.
    ~SelectionMimeData() override;

    /// Plain text only.
    QStringList formats() const override;
    /// True for plain text.
    bool hasFormat(const QString& mimeType) const override;

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    std::shared_ptr<const DisplayModel> model_;
    std::int64_t start_ = 0;
    std::int64_t length_ = 0;
};

} // namespace ombrel
