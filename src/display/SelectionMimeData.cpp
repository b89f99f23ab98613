#include "display/SelectionMimeData.h"

#include <utility>

namespace ombrel {

SelectionMimeData::SelectionMimeData(std::shared_ptr<const DisplayModel> model, std::int64_t start,
                                     std::int64_t length)
    : model_(std::move(model)), start_(start), length_(length) {}

SelectionMimeData::~SelectionMimeData() {
    // It may hold the last share of a large text that the display has long replaced.
    releaseOffThread(std::move(model_));
}

QStringList SelectionMimeData::formats() const {
    return {QStringLiteral("text/plain")};
}

bool SelectionMimeData::hasFormat(const QString& mimeType) const {
    return mimeType == QStringLiteral("text/plain");
}

QVariant SelectionMimeData::retrieveData(const QString& mimeType, QMetaType /*type*/) const {
    return hasFormat(mimeType) ? QVariant(model_->mid(start_, length_)) : QVariant();
}

} // namespace ombrel
