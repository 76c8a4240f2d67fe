#pragma once

#include "platform/ProgramFolder.h"

#include <QDialog>

#include <array>

class QCheckBox;

namespace glim {

class Dialogs;

// The Options dialog `Optio`: the three switches of section Options of the settings file that
// steer start-up and shutdown, each a check box over its explanation. Every opening reads them
// afresh; "Apply" writes all three and closes, "Cancel" closes and writes nothing.
class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    OptionsDialog(ProgramFolder folder, Dialogs& dialogs, QWidget* parent = nullptr);

    // "Apply": writes Startdel, Showmain and Hideclosed in that order as "1" or "0", says
    // whether they were saved, and closes.
    void apply();

private:
    ProgramFolder m_folder;
    Dialogs& m_dialogs;
    std::array<QCheckBox*, 3> m_boxes{};
};

// The main window's "Options" command: a fresh dialog, modal, gone once closed.
void showOptionsDialog(const ProgramFolder& folder, Dialogs& dialogs, QWidget* parent);

} // namespace glim
