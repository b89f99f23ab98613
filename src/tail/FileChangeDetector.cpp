#include "tail/FileChangeDetector.h"

namespace ombrel {

bool FileChangeDetector::changed(const std::optional<FileStatus>& current) {
    if (!current || current == lastSeen_) {
        return false;
    }
    lastSeen_ = current;
    return true;
}

} // namespace ombrel
