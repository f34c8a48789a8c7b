#include "ui/main/PlayerDetailFields.h"

#include "fileformat/Windows1252.h"
#include "store/PlayersTable.h"
#include "store/Vocabulary.h"
#include "ui/main/PlayersModel.h"

#include <QAbstractItemDelegate>
#include <QDataWidgetMapper>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QResizeEvent>
#include <QVBoxLayout>
#include <QValidator>
#include <algorithm>

namespace {

constexpr int kHighestRating = 255;
constexpr int kRatingBoxChars = 4; // "255" and a little air

// Takes the digits of a whole number 0..255 and nothing else (QIntValidator lets "300" stand as
// unfinished input).
class RatingValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        if (input.isEmpty())
            return Intermediate;
        bool ok = false;
        const int value = input.toInt(&ok, 10);
        const bool digitsOnly =
            std::all_of(input.begin(), input.end(), [](QChar c) { return c.isDigit(); });
        return ok && digitsOnly && value <= kHighestRating ? Acceptable : Invalid;
    }
};

// Refuses characters a player record cannot hold, and keeps the first it refused so that the
// user can be told which.
class CodePageValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        refused_.clear();
        if (tavrel::FitsWindows1252(input.toStdString()))
            return Acceptable;
        for (qsizetype at = 0; at < input.size();) {
            const qsizetype length =
                input[at].isHighSurrogate() && at + 1 < input.size() ? 2 : 1; // one character
            const QString character = input.mid(at, length);
            if (!tavrel::FitsWindows1252(character.toStdString())) {
                refused_ = character;
                break;
            }
            at += length;
        }
        return Invalid;
    }
    const QString& Refused() const { return refused_; }

private:
    mutable QString refused_;
};

QString Name(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// The boxes and code captions carry the names users and the help know, including two that do not
// follow the pattern.
QString ActualBoxName(std::string_view code) {
    return "txt" + Name(code);
}
QString PotentialBoxName(std::string_view code) {
    return code == "VI" ? QStringLiteral("txtp_VI") : "txtP_" + Name(code);
}
QString CodeCaptionName(std::string_view code) {
    return code == "VI" ? QStringLiteral("lblBI") : "lbl" + Name(code);
}

QLabel* Caption(const QString& objectName, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    return label;
}

} // namespace

QString RatingRefusal() {
    return QStringLiteral("Ratings are whole numbers from 0 to %1.").arg(kHighestRating);
}

QString NameRefusal(const QString& refused, const QString& caption, int maxLength) {
    if (!refused.isEmpty())
        return QStringLiteral("%1 is not in the league's character set.").arg(refused);
    QString field = caption;
    field.remove(QLatin1Char(':'));
    field = field.left(1) + field.mid(1).toLower(); // "First Name" → "First name"
    return QStringLiteral("%1s hold %2 characters.").arg(field).arg(maxLength);
}

PlayerDetailFields::PlayerDetailFields(PlayersModel* model, QWidget* parent)
    : QWidget(parent), model_(model), mapper_(new QDataWidgetMapper(this)) {
    mapper_->setModel(model_);
    mapper_->setSubmitPolicy(QDataWidgetMapper::AutoSubmit);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(BuildNames());
    layout->addWidget(BuildCaptions());
    layout->addWidget(BuildRatings());
    layout->addStretch(1);
}

void PlayerDetailFields::Bind(QWidget* widget, const char* field, const char* property) {
    const int column = *tavrel::PlayersColumnIndex(field);
    if (property)
        mapper_->addMapping(widget, column, property);
    else
        mapper_->addMapping(widget, column);
    if (qobject_cast<QLineEdit*>(widget))
        widget->installEventFilter(this); // after the mapper's own, so it sees Enter first
}

QWidget* PlayerDetailFields::BuildNames() {
    auto* names = new QWidget(this);
    auto* grid = new QGridLayout(names);
    grid->setContentsMargins(0, 0, 0, 0);
    const struct {
        const char* box;
        const char* field;
        const char* caption;
        const char* text;
    } fields[] = {{"txtFirstName", "FirstName", "lblFirstName", "First Name:"},
                  {"txtLastName", "LastName", "lblLastName", "Last Name:"}};
    int column = 0;
    for (const auto& f : fields) {
        auto* box = new QLineEdit(names);
        box->setObjectName(f.box);
        box->setMaxLength(
            tavrel::kPlayersColumns[*tavrel::PlayersColumnIndex(f.field)].declaredWidth);
        auto* validator = new CodePageValidator(box);
        box->setValidator(validator);
        connect(box, &QLineEdit::inputRejected, this, [this, box, validator, f] {
            emit inputRefused(
                NameRefusal(validator->Refused(), QString::fromLatin1(f.text), box->maxLength()));
        });
        grid->addWidget(Caption(f.caption, f.text, names), 0, column);
        grid->addWidget(box, 1, column);
        Bind(box, f.field);
        focusChain_ << box;
        ++column;
    }
    return names;
}

QWidget* PlayerDetailFields::BuildCaptions() {
    auto* captions = new QWidget(this);
    auto* grid = new QGridLayout(captions);
    grid->setContentsMargins(0, 0, 0, 0);
    // Position, years and weight on one line; the college, up to 31 characters, on its own.
    const struct {
        const char* fixed;
        const char* fixedText;
        const char* bound;
        const char* field;
    } items[] = {{"lblPosition", "Position:", "lblPos", "PositionTXT"},
                 {"lblYears", "Years:", "lblYRs", "YEARS"},
                 {"lblSlot", "Weight:", "lblSlotA", "Weight"},
                 {"lblCollege", "College:", "lblCollegeName", "College"}};
    int at = 0;
    for (const auto& item : items) {
        const int row = at / 3;
        const int column = 2 * (at % 3);
        grid->addWidget(Caption(item.fixed, item.fixedText, captions), row, column);
        QLabel* value = Caption(item.bound, QString(), captions);
        value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
        if (row == 0)
            grid->addWidget(value, row, column + 1);
        else
            grid->addWidget(value, row, column + 1, 1, -1);
        Bind(value, item.field, "text");
        ++at;
    }
    grid->setColumnStretch(5, 1);
    return captions;
}

QWidget* PlayerDetailFields::BuildRatings() {
    auto* frame = new QGroupBox(QStringLiteral("Ratings"), this);
    frame->setObjectName("Frame1");
    bandsLayout_ = new QGridLayout(frame);
    // Half a line between bands one above the other, two characters between bands side by side.
    bandsLayout_->setVerticalSpacing(fontMetrics().height() / 2 + bandsLayout_->verticalSpacing());
    bandsLayout_->setHorizontalSpacing(fontMetrics().horizontalAdvance(QStringLiteral("MM")));
    const int boxWidth =
        fontMetrics().horizontalAdvance(QString(kRatingBoxChars, QLatin1Char('0'))) + 12;
    int bandNumber = 0;
    for (const tavrel::RatingBand& band : tavrel::kRatingBands) {
        auto* bandWidget = new QWidget(frame);
        auto* grid = new QGridLayout(bandWidget);
        grid->setContentsMargins(0, 0, 0, 0);
        // Column 0 names the band's two rows.
        const QString bandText = QString::number(++bandNumber);
        grid->addWidget(Caption("lblActualRow" + bandText, QStringLiteral("Actual"), bandWidget), 1,
                        0);
        grid->addWidget(
            Caption("lblPotentialRow" + bandText, QStringLiteral("Potential"), bandWidget), 2, 0);
        QList<QWidget*> actualRow, potentialRow;
        for (int at = 0; at < static_cast<int>(band.size()); ++at) {
            const int column = at + 1;
            const std::string_view code = band[static_cast<std::size_t>(at)];
            const int k = *tavrel::RatingIndex(code);
            grid->addWidget(Caption(CodeCaptionName(code), Name(code) + ":", bandWidget), 0,
                            column);
            const struct {
                QString name;
                std::string tooltip;
                std::string field;
                int row;
            } boxes[] = {{ActualBoxName(code),
                          tavrel::ActualTooltip(k, tavrel::TooltipSet::MainWindow),
                          tavrel::ActualColumn(k), 1},
                         {PotentialBoxName(code),
                          tavrel::PotentialTooltip(k, tavrel::TooltipSet::MainWindow),
                          tavrel::PotentialColumn(k), 2}};
            for (const auto& b : boxes) {
                auto* box = new QLineEdit(QStringLiteral("0"), bandWidget);
                box->setObjectName(b.name);
                box->setToolTip(QString::fromStdString(b.tooltip));
                box->setValidator(new RatingValidator(box));
                connect(box, &QLineEdit::inputRejected, this,
                        [this] { emit inputRefused(RatingRefusal()); });
                box->setFixedWidth(boxWidth);
                grid->addWidget(box, b.row, column);
                Bind(box, b.field.c_str());
                (b.row == 1 ? actualRow : potentialRow) << box;
            }
        }
        focusChain_ << actualRow << potentialRow;
        bands_ << bandWidget;
    }
    PlaceBands(1);
    return frame;
}

void PlayerDetailFields::PlaceBands(int perRow) {
    perRow = std::clamp(perRow, 1, static_cast<int>(bands_.size()));
    if (perRow == bandsPerRow_)
        return;
    bandsPerRow_ = perRow;
    for (QWidget* band : bands_)
        bandsLayout_->removeWidget(band);
    for (int i = 0; i < bands_.size(); ++i)
        bandsLayout_->addWidget(bands_[i], i / perRow, i % perRow, Qt::AlignLeft | Qt::AlignTop);
    // Extra width goes to the right of the bands, which stay beside their row names.
    for (int column = 0; column <= static_cast<int>(bands_.size()); ++column)
        bandsLayout_->setColumnStretch(column, column == perRow ? 1 : 0);
    updateGeometry();
}

int PlayerDetailFields::BandsPerRow(int width) const {
    // The frame's own margins and the layout's, around the bands.
    const QWidget* frame = bandsLayout_->parentWidget();
    const QMargins around = bandsLayout_->contentsMargins() + frame->contentsMargins();
    const int room = width - around.left() - around.right();
    const int band = bands_.front()->sizeHint().width();
    const int spacing = bandsLayout_->horizontalSpacing();
    return std::max(1, (room + spacing) / (band + spacing));
}

QSize PlayerDetailFields::minimumSizeHint() const {
    // As narrow as one band a row allows, so that a narrower window stacks the bands again;
    // as high as the bands need as they stand.
    const QSize laidOut = QWidget::minimumSizeHint();
    const QMargins around = bandsLayout_->contentsMargins() +
                            bandsLayout_->parentWidget()->contentsMargins() + contentsMargins();
    const int oneBand = bands_.front()->minimumSizeHint().width() + around.left() + around.right();
    const int names = layout()->itemAt(0)->minimumSize().width();
    return {std::max({oneBand, names, layout()->itemAt(1)->minimumSize().width()}),
            laidOut.height()};
}

void PlayerDetailFields::resizeEvent(QResizeEvent* event) {
    PlaceBands(BandsPerRow(event->size().width()));
    QWidget::resizeEvent(event);
}

bool PlayerDetailFields::eventFilter(QObject* watched, QEvent* event) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box && event->type() == QEvent::ShortcutOverride && !IsBeingTyped(box)) {
        // Undo and Redo of a box that holds its stored value are the window's: they step
        // through the history of kept changes.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
            key->keyCombination() == QKeyCombination(Qt::CTRL | Qt::Key_Y))
            return true;
    }
    if (box && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && box->hasAcceptableInput()) {
            emit mapper_->itemDelegate()->commitData(box); // stores this box alone
            focusNextChild();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool PlayerDetailFields::IsBeingTyped(const QLineEdit* box) const {
    const int column = mapper_->mappedSection(const_cast<QLineEdit*>(box));
    const QModelIndex stored = model_->index(mapper_->currentIndex(), column);
    return stored.isValid() && box->text() != model_->data(stored).toString();
}

void PlayerDetailFields::ShowRow(int row) {
    if (mapper_->currentIndex() >= 0)
        mapper_->submit();
    mapper_->setCurrentIndex(row);
}

void PlayerDetailFields::Rebind(int row) {
    if (row >= 0 && row < model_->rowCount())
        mapper_->setCurrentIndex(row);
    else
        mapper_->toFirst();
}

int PlayerDetailFields::CurrentRow() const {
    return mapper_->currentIndex();
}

bool PlayerDetailFields::Submit() {
    return model_->IsAttached() && mapper_->currentIndex() >= 0 ? mapper_->submit() : true;
}
