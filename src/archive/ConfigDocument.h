#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace pugi {
class xml_document;
}

namespace ombrel {

/// The program's XML configuration ("config.xml" of its resource archive), queried with
/// XPath patterns such as "//Time". An element's text is all the character data inside it,
/// trimmed of surrounding white space. A document that is missing or does not parse is
/// empty: every lookup finds nothing.
class ConfigDocument {
public:
    /// Name of the configuration member in the resource archive.
    static QByteArrayView memberName() { return "config.xml"; }

    /// An empty document.
    ConfigDocument();
    ~ConfigDocument();
    ConfigDocument(ConfigDocument&&) noexcept;
    ConfigDocument& operator=(ConfigDocument&&) noexcept;

    /// Replaces the document by the configuration member of the archive at archivePath;
    /// empty when the archive does not open or the member is missing or does not parse.
    void load(const QString& archivePath);
    /// Replaces the document by the XML text in bytes, which ends at its first NUL byte.
    void loadText(QByteArrayView bytes);

    /// True when nothing was loaded or the text did not parse.
    bool isEmpty() const;
    /// The texts of every node the pattern selects, in document order.
    QStringList texts(const QString& pattern) const;
    /// The text of the first node the pattern selects in document order, or nothing.
    std::optional<QString> text(const QString& pattern) const;

private:
    std::unique_ptr<pugi::xml_document> document_;
};

} // namespace ombrel
