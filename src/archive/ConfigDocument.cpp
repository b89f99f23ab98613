#include "archive/ConfigDocument.h"

#include "archive/ResourceArchive.h"

#include <pugixml.hpp>

namespace ombrel {

namespace {

QString textOf(const pugi::xpath_node& node) {
    // XPath's string value: the character data of the node and all its descendants.
    const pugi::xpath_query stringValue("string(.)");
    return QString::fromStdString(stringValue.evaluate_string(node)).trimmed();
}

// Parsed as a fragment, the top level keeps everything it holds, so this can insist on what
// well-formed XML has there: exactly one root element and no character data beside it.
bool hasSingleRoot(const pugi::xml_document& document) {
    int elements = 0;
    for (const pugi::xml_node& child : document.children()) {
        if (child.type() == pugi::node_element) {
            ++elements;
        } else if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            return false;
        }
    }
    return elements == 1;
}

} // namespace

ConfigDocument::ConfigDocument() : document_(std::make_unique<pugi::xml_document>()) {}
ConfigDocument::~ConfigDocument() = default;
ConfigDocument::ConfigDocument(ConfigDocument&&) noexcept = default;
ConfigDocument& ConfigDocument::operator=(ConfigDocument&&) noexcept = default;

void ConfigDocument::load(const QString& archivePath) {
    const auto archive = ResourceArchive::open(archivePath);
    if (!archive) {
        loadText({});
        return;
    }
    std::int64_t size = 0;
    const MallocBuffer bytes = archive->getfile(memberName(), size);
    // The reported size is what the member holds; the buffer is at least that long.
    loadText(bytes.isNull() ? QByteArrayView() : bytes.view().first(static_cast<qsizetype>(size)));
}

void ConfigDocument::loadText(QByteArrayView bytes) {
    if (!document_) {
        document_ = std::make_unique<pugi::xml_document>();
    }
    const qsizetype nul = bytes.indexOf('\0');
    const QByteArrayView text = nul < 0 ? bytes : bytes.first(nul);
    const pugi::xml_parse_result parsed =
        document_->load_buffer(text.data(), static_cast<std::size_t>(text.size()),
                               pugi::parse_default | pugi::parse_fragment);
    if (!parsed || !hasSingleRoot(*document_)) {
        document_->reset(); // no half-parsed tree: a faulty document holds nothing
    }
}

bool ConfigDocument::isEmpty() const {
    return !document_ || !document_->first_child();
}

QStringList ConfigDocument::texts(const QString& pattern) const {
    QStringList result;
    if (isEmpty()) {
        return result;
    }
    try {
        pugi::xpath_node_set nodes = document_->select_nodes(pattern.toStdString().c_str());
        nodes.sort();
        for (const pugi::xpath_node& node : nodes) {
            result.append(textOf(node));
        }
    } catch (const pugi::xpath_exception&) {
        // A pattern that is not a node-set expression selects nothing.
    }
    return result;
}

std::optional<QString> ConfigDocument::text(const QString& pattern) const {
    if (isEmpty()) {
        return std::nullopt;
    }
    try {
        const pugi::xpath_node node = document_->select_node(pattern.toStdString().c_str());
        if (node) {
            return textOf(node);
        }
    } catch (const pugi::xpath_exception&) {
        // As above: nothing selected.
    }
    return std::nullopt;
}

} // namespace ombrel
