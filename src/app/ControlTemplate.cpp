#include "app/ControlTemplate.h"

#include "app/CommandId.h"

namespace ombrel {

const std::vector<ControlSpec>& mainWindowTemplate() {
    using K = ControlKind;
    static const std::vector<ControlSpec> controls = {
        {IdDataGroup, K::GroupBox, QStringLiteral("Data"), {7, 3, 255, 57}},
        {IdFileNameLabel, K::Label, QStringLiteral("Filename"), {16, 13, 29, 8}},
        {IdFileNameBox, K::ComboBox, QString(), {16, 26, 199, 111}},
        {IdBrowse, K::Button, QStringLiteral("Browse"), {217, 25, 37, 14}},
        {0, K::Label, QStringLiteral("Event Log"), {16, 47, 34, 8}},
        {IdApplicationLog, K::CheckBox, QStringLiteral("Application"), {56, 47, 51, 10}},
        {IdSystemLog, K::CheckBox, QStringLiteral("System"), {110, 47, 39, 10}},
        {IdComputerLabel, K::Label, QStringLiteral("Computer"), {151, 47, 32, 8}},
        {IdComputerBox, K::ComboBox, QString(), {188, 45, 66, 69}},
        {IdDisplayGroup, K::GroupBox, QStringLiteral("Display"), {7, 61, 255, 44}},
        {IdIntervalLabel, K::Label, QStringLiteral("Secs between Checks"), {13, 72, 72, 8}},
        {IdHead, K::CheckBox, QStringLiteral("Head"), {122, 70, 33, 10}},
        {IdCountLabel, K::CentredLabel, QStringLiteral("Bytes to Display"), {202, 72, 59, 8}},
        {IdIntervalBox, K::ComboBox, QString(), {13, 87, 53, 69}},
        {IdStart, K::DefaultButton, QStringLiteral("Start"), {80, 85, 37, 14}},
        {IdExitPause, K::Button, QStringLiteral("Exit"), {124, 85, 36, 14}},
        {IdPrintButton, K::Button, QStringLiteral("Print"), {166, 85, 35, 14}},
        {IdCountBox, K::NumberEdit, QString(), {213, 85, 40, 14}},
        {IdDisplay, K::Display, QString(), {7, 108, 255, 126}},
    };
    return controls;
}

QSize mainWindowDialogSize() {
    return {269, 248};
}

} // namespace ombrel
