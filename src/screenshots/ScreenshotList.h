#pragma once

#include <QTreeWidget>

namespace glim {

// The screenshot list `lstv`: one row per screenshot of the capture event, in four columns
// (name, "height x width" in hundredths of a millimetre, date, time), each row with the
// recorded-row icon. Row texts cannot be edited, since they name the screenshots' files.
// rowClicked() is raised when the user clicks a row or moves the selection with the keyboard;
// rows selected by the program raise nothing.
class ScreenshotList : public QTreeWidget {
    Q_OBJECT
public:
    explicit ScreenshotList(QWidget* parent);

    int rowCount() const { return topLevelItemCount(); }
    // The text of the selected row; empty when no row is selected.
    QString selectedRowText() const;
    void appendRow(const QStringList& texts);
    void selectRow(int row);

signals:
    void rowClicked();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QIcon m_rowIcon;
};

} // namespace glim
