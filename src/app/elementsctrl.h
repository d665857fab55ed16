#pragma once

#include <QPixmap>
#include <QTreeWidget>

// The list of the Elements pane: the pointer, the five band kinds and the seven item kinds
// that can be inserted, one row each with its icon and, as its data, the kind
// code (0 for the pointer), then "Page Number" and "Page N of M", which place ready-made DB Texts
// (their codes are FieldChoice's), and last the Page Break band. A left click on a row chooses
// that kind for the design view.
class CElementsCtrl : public QTreeWidget
{
    Q_OBJECT

public:
    // Where a row keeps its kind code and its icon index.
    static constexpr int KindRole = Qt::UserRole;
    static constexpr int IconRole = Qt::UserRole + 1;

    explicit CElementsCtrl(QWidget *parent = nullptr);

    // Selects and focuses the rows whose kind is the code and clears the others; the pointer
    // (0) also ends a kind kept by a double click.
    void SelectKind(int kind);
    // The kind a double click keeps for one insertion after another (its row is drawn in bold
    // type); -1 when there is none.
    int GetLockedKind() const { return m_lockedKind; }

    // Kind code of the row (-1 for no row).
    static int KindOf(const QTreeWidgetItem *row);

    // The nine icons side by side, the transparent grey taken out, readable on the list's
    // background (made again when the look changes it).
    const QPixmap &GetIconStrip() const;

signals:
    // The user chose a row with the mouse; kind 0 is the pointer.
    void insertKindChosen(int kind);
    // The user double-clicked a kind's row: it stays chosen after each insertion.
    void insertKindLocked(int kind);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void AddRows();

    mutable QPixmap m_iconStrip;
    mutable QRgb m_iconBackground = 0xFFFFFF;
    int m_lockedKind = -1;
};
