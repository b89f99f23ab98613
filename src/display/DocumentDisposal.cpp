#include "display/DocumentDisposal.h"

#include <QTextDocument>
#include <QThreadPool>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace ombrel {

void disposeDocument(QTextDocument* document) {
    document->setParent(nullptr);
    document->moveToThread(nullptr); // detached from every thread, any thread may delete it
    QThreadPool::globalInstance()->start([document] {
        delete document;
#ifdef __GLIBC__
        // A display document is many small blocks; hand them back to the system so that the
        // next update does not stack on top of them.
        malloc_trim(0);
#endif
    });
}

} // namespace ombrel
