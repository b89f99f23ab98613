#include "app/ComputerBox.h"

#include "eventlog/JournalHosts.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

namespace ombrel {

ComputerBox::ComputerBox(Controls controls, SettingsStore settings, const QStringList& hosts,
                         HostNameLookup::Reader reader)
    : controls_(controls), settings_(std::move(settings)), lookup_(std::move(reader)) {
    QComboBox* box = controls_.box;
    box->setAccessibleName(controls_.label->text());
    controls_.label->setBuddy(box);
    box->lineEdit()->setPlaceholderText(QStringLiteral("all"));
    box->setToolTip(QStringLiteral("Show only the entries of these computers, names separated "
                                   "by \";;\"; empty shows all"));
    box->setEditText(journalHostsText(hosts));
    QObject::connect(&lookup_, &HostNameLookup::namesFound, box,
                     [this](const QStringList& names) { offer(names); });
}

void ComputerBox::lookUp(const JournalSourceOptions& options) {
    lookup_.start(options);
}

QStringList ComputerBox::hosts() const {
    return parseJournalHosts(controls_.box->currentText());
}

SettingsWrite ComputerBox::save() const {
    const QStringList chosen = hosts();
    if (parseJournalHosts(settings_.readSetting(journalHostsSetting).value_or(QString())) ==
        chosen) {
        return {};
    }
    return settings_.writeSetting(journalHostsSetting, journalHostsText(chosen));
}

void ComputerBox::offer(const QStringList& names) {
    QStringList typeable;
    // A name with a control character could not be typed, nor read in a list, as it is.
    std::copy_if(names.begin(), names.end(), std::back_inserter(typeable), [](const QString& name) {
        return std::none_of(name.begin(), name.end(),
                            [](QChar c) { return c.category() == QChar::Other_Control; });
    });
    QComboBox* box = controls_.box;
    QStringList shown;
    for (int i = 0; i < box->count(); ++i) {
        shown.append(box->itemText(i));
    }
    if (shown == typeable) {
        return; // nothing new: what is being typed is left alone
    }
    const QString typed = box->currentText();
    box->clear();
    box->addItems(typeable);
    box->setEditText(typed);
}

} // namespace ombrel
