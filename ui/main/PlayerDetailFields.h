#pragma once

#include <QString>
#include <QWidget>

class QDataWidgetMapper;
class QGridLayout;
class QLineEdit;
class PlayersModel;

// Why a rating box refused a keystroke.
QString RatingRefusal();
// Why a name box refused one: the character it cannot hold (`refused`), else its length
// ("First names hold 15 characters.").
QString NameRefusal(const QString& refused, const QString& caption, int maxLength);

// The right side of the main window: the current player's names, four read-only captions and the
// "Ratings" frame with its 48 rating boxes in three bands (one above the other, or side by side as
// far as the width allows: a window with the grid below keeps them all in view), all bound by
// field name to one row of
// PlayersModel. A value typed into a box reaches the row when the box is left (Tab, Enter, a click
// elsewhere), when the row is left (ShowRow) or when Submit is called; Enter also moves on to the
// next box and Esc takes back what was typed. The boxes show "0" until a row is bound.
class PlayerDetailFields : public QWidget {
    Q_OBJECT
public:
    explicit PlayerDetailFields(PlayersModel* model, QWidget* parent = nullptr);

    // Writes what was typed into the current row, then shows `row`.
    void ShowRow(int row);
    // Shows `row` (the first row when there is no such row) of a model attached anew, writing
    // nothing.
    void Rebind(int row);
    int CurrentRow() const;
    // Writes what was typed into the current row. False when a value was refused.
    bool Submit();
    // The input boxes in reading order: the names, then each band's actual row and potential
    // row, left to right.
    QList<QWidget*> FocusChain() const { return focusChain_; }
    // How many bands stand side by side.
    int BandsPerRow() const { return bandsPerRow_; }
    QSize minimumSizeHint() const override;

signals:
    // A keystroke a box refused, and why, in words for the status bar.
    void inputRefused(const QString& why);

protected:
    // Enter in a box stores it and moves on to the next box.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* BuildNames();
    QWidget* BuildCaptions();
    QWidget* BuildRatings();
    void PlaceBands(int perRow);
    // How many bands fit side by side in `width` pixels of this widget.
    int BandsPerRow(int width) const;
    void Bind(QWidget* widget, const char* field, const char* property = nullptr);
    // The box shows something else than its stored value.
    bool IsBeingTyped(const QLineEdit* box) const;

    PlayersModel* model_;
    QDataWidgetMapper* mapper_;
    QList<QWidget*> focusChain_;
    QGridLayout* bandsLayout_ = nullptr;
    QList<QWidget*> bands_;
    int bandsPerRow_ = 0;
};
