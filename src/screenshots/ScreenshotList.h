#pragma once

#include <QTreeWidget>

namespace glim {

// The screenshot list `lstv`: one row per screenshot of the capture event, in four columns
// (name, "height x width" in hundredths of a millimetre, date, time), each row with the
// recorded-row icon (image 1 of the image list `lstview`) until it is exported, then the
// exported-row icon (image 2). Row texts cannot be edited, since they name the screenshots' files.
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
    // Gives the selected row the exported-row icon; nothing when no row is selected.
    void markSelectedRowExported();
    // The row's icon as its number in the image list: 1 recorded, 2 exported; 0 for no row or
    // another icon.
    int rowImage(int row) const;

signals:
    void rowClicked();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QIcon m_rowIcon;
    QIcon m_exportedIcon;
};

} // namespace glim
