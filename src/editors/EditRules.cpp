#include "editors/EditRules.h"

#include "widgets/KeyInput.h"
#include "widgets/SpinButton.h"
#include "midi/ExchangeState.h"

#include <QAbstractSlider>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>
#include <limits>

using KeyInput::Kind;

namespace {
constexpr int SignedByteLimit = 99;
constexpr int TimeLimit = 99; // what the infinity sign stands for

// Sets the partner for the duration of a write it causes, so that write commits.
class PartnerScope {
public:
    PartnerScope(const QObject *&slot, const QObject *partner) : slot(slot), previous(slot) { slot = partner; }
    ~PartnerScope() { slot = previous; }

private:
    const QObject *&slot;
    const QObject *previous;
};
} // namespace

EditRules::EditRules(EditState &edit, ExchangeState &exchange, QObject *parent)
    : QObject(parent), edit(edit), exchange(exchange)
{
}

QString EditRules::InfinitySign()
{
    return QStringLiteral("\u221E");
}

QString EditRules::GateWord()
{
    return QStringLiteral("gt");
}

bool EditRules::busy() const
{
    return exchange.refuseIfBusy();
}

void EditRules::Add(Box box)
{
    boxes.push_back(box);
    const size_t index = boxes.size() - 1;
    QLineEdit *line = box.box;
    line->installEventFilter(this);
    KeyInput::TypedOnly(line);
    connect(line, &QLineEdit::textChanged, this, [this, index] { Changed(boxes[index]); });
    if (box.slider) {
        // The slider commits once, when it is let go; while dragged it only shows the value.
        box.slider->setTracking(false);
        connect(box.slider, &QAbstractSlider::sliderMoved, this, [this, index](int v) { SliderScroll(boxes[index], v); });
        connect(box.slider, &QAbstractSlider::valueChanged, this, [this, index](int v) { SliderChange(boxes[index], v); });
        if (!box.showWhileDragging)
            box.slider->installEventFilter(this);
    }
    if (box.spin) {
        connect(box.spin, &SpinButton::SpinUp, this, [this, index] { Spin(boxes[index], 1); });
        connect(box.spin, &SpinButton::SpinDown, this, [this, index] { Spin(boxes[index], -1); });
    }
}

const EditRules::Box *EditRules::Find(const QObject *control) const
{
    for (const Box &box : boxes) {
        if (box.box == control)
            return &box;
    }
    return nullptr;
}

const EditRules::Box *EditRules::FindSlider(const QObject *slider) const
{
    for (const Box &box : boxes) {
        if (box.slider == slider)
            return &box;
    }
    return nullptr;
}

bool EditRules::FromPartner(const QLineEdit *line) const
{
    const Box *box = Find(line);
    if (!box || !activePartner)
        return false;
    return activePartner == box->slider || activePartner == static_cast<const QObject *>(box->spin)
           || std::find(box->otherPartners.begin(), box->otherPartners.end(), activePartner) != box->otherPartners.end();
}

void EditRules::WriteFrom(const QObject *partner, QLineEdit *box, const QString &text)
{
    const PartnerScope scope(activePartner, partner);
    box->setText(text);
}

void EditRules::CommitFrom(const QObject *partner, QLineEdit *line)
{
    const Box *box = Find(line);
    if (!box)
        return;
    const PartnerScope scope(activePartner, partner);
    Changed(*box);
}

bool EditRules::eventFilter(QObject *watched, QEvent *event)
{
    const Box *box = Find(watched);
    if (!box) {
        // A slider whose box does not follow the drag catches up when the slider is left.
        const Box *follower = event->type() == QEvent::FocusOut ? FindSlider(watched) : nullptr;
        if (follower && !exchange.busy())
            Display([&] { follower->box->setText(QString::number(follower->slider->value())); });
        return QObject::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyPress)
        return KeyPress(*box, static_cast<const QKeyEvent &>(*event));
    if (event->type() == QEvent::FocusOut && box->restoreOnFocusLoss && box->box->text().isEmpty()
        && box->storedText) {
        Display([&] { box->box->setText(box->storedText()); });
        KeyInput::SetPending(box->box, false);
    }
    return QObject::eventFilter(watched, event);
}

// True: the key is discarded.
bool EditRules::KeyPress(const Box &box, const QKeyEvent &event)
{
    const KeyInput::Key key = KeyInput::Classify(event);
    if (key.kind == Kind::Navigation)
        return false;
    if (busy() || box.keys == Keys::None || box.box->isReadOnly() || key.kind == Kind::Other)
        return true;
    const QString text = box.box->text();
    const bool showsInfinity = box.keys == Keys::TimeWithInfinity && text == InfinitySign();
    if (key.kind == Kind::Enter) {
        // The sign and the word are the stored value already: there is nothing to commit.
        if (showsInfinity || (box.keys == Keys::Sustain && text == GateWord()))
            return true;
        edit.LastEditKey = EditState::Enter;
        edit.EditPending = false;
        Changed(box);
        return true;
    }
    if (key.kind == Kind::Character) {
        const QChar c = key.character;
        const bool minusAllowed = box.keys == Keys::Signed || box.keys == Keys::SignedDecimal;
        const bool pointAllowed = box.keys == Keys::Decimal || box.keys == Keys::SignedDecimal;
        const bool gateLetter = box.keys == Keys::Sustain && (c == QLatin1Char('G') || c == QLatin1Char('g'));
        const bool accepted = c.isDigit() || (c == QLatin1Char('-') && minusAllowed && text.isEmpty())
                              || (c == QLatin1Char('.') && pointAllowed) || gateLetter || box.letters.contains(c);
        if (!accepted)
            return true;
    }
    if (showsInfinity)
        Display([&] { box.box->clear(); }); // a digit or Backspace replaces the sign
    edit.LastEditKey = key.code();
    KeyInput::SetPending(box.box, true);
    edit.EditPending = true;
    return false;
}

void EditRules::Changed(const Box &box)
{
    if (edit.LastEditKey == EditState::Backspace || edit.EditPending || edit.TextRestored) {
        if (edit.TextRestored) {
            edit.TextRestored = false;
            KeyInput::SetPending(box.box, false);
        }
        return;
    }
    if (!FromPartner(box.box) && edit.LastEditKey != EditState::Enter)
        return;
    if (box.commit && box.commit() && box.afterCommit)
        box.afterCommit();
}

void EditRules::SliderScroll(const Box &box, int value)
{
    if (busy() || !box.showWhileDragging)
        return;
    Display([&] { box.box->setText(QString::number(value)); });
}

void EditRules::SliderChange(const Box &box, int value)
{
    if (!PartnerMayCommit())
        return;
    const QString text = box.box->text();
    // While the sustain shows "gt" or its letters are being typed, the slider leaves it alone.
    if (box.keys == Keys::Sustain
        && (edit.LastEditKey == 'G' || edit.LastEditKey == 'g' || text == GateWord()))
        return;
    if (box.keys == Keys::TimeWithInfinity && text == InfinitySign())
        Display([&] { box.box->setText(QString::number(TimeLimit)); });
    const PartnerScope scope(activePartner, box.slider);
    bool isNumber = false;
    if (box.box->text().toInt(&isNumber) == value && isNumber)
        Changed(box);
    else
        box.box->setText(QString::number(value));
}

void EditRules::Spin(const Box &box, int step)
{
    if (!MaySpin(box.box))
        return;
    const int current = box.box->text().toInt();
    const std::optional<int> value = box.spinStep ? box.spinStep(current, step)
                                                  : std::clamp(current + step, box.spinLow, box.spinHigh);
    if (!value)
        return;
    const PartnerScope scope(activePartner, box.spin);
    box.box->setText(QString::number(*value));
}

std::optional<QString> EditRules::CommitText(QLineEdit *line)
{
    const Box *box = Find(line);
    const bool enter = edit.LastEditKey == EditState::Enter;
    if (enter && line->text().isEmpty()) {
        Restore(line, box && box->storedText ? box->storedText() : QString());
        return std::nullopt;
    }
    if (!enter && !FromPartner(line))
        return std::nullopt;
    return line->text();
}

bool EditRules::PartnerMayCommit() const
{
    return !busy() && edit.LastEditKey != EditState::Enter && !edit.EditPending;
}

bool EditRules::MaySpin(const QLineEdit *box) const
{
    return !busy() && !box->text().isEmpty() && !box->isReadOnly();
}

std::optional<int> EditRules::CommitValue(QLineEdit *line, bool signedByte)
{
    return CommitValue(line, signedByte, signedByte ? SignedByteLimit : std::numeric_limits<int>::max());
}

std::optional<int> EditRules::CommitValue(QLineEdit *line, bool signedByte, int highest)
{
    return CommitValue(line, signedByte, signedByte ? -SignedByteLimit : 0, highest);
}

std::optional<int> EditRules::CommitValue(QLineEdit *line, bool signedByte, int lowest, int highest)
{
    const Box *box = Find(line);
    const auto committed = CommitText(line);
    if (!committed)
        return std::nullopt;
    const QString text = *committed;
    const bool enter = edit.LastEditKey == EditState::Enter;
    if (enter && signedByte && text == QLatin1String("-")) {
        Restore(line, box && box->storedText ? box->storedText() : QString());
        return std::nullopt;
    }
    bool isNumber = false;
    int value = text.toInt(&isNumber);
    if (!isNumber) {
        // Letters mixed with digits are no value at all: show the stored one, send nothing.
        Restore(line, box && box->storedText ? box->storedText() : QString());
        return std::nullopt;
    }
    // A typed value beyond the field's range is clamped to its end, never wrapped.
    if (enter && (value > highest || value < lowest)) {
        value = std::clamp(value, lowest, highest);
        Rewrite(line, QString::number(value));
    }
    if (enter && box && box->slider) {
        // The slider follows; its change event is ignored because LastEditKey is Enter.
        box->slider->setValue(value);
    }
    return value;
}

void EditRules::Rewrite(QLineEdit *box, const QString &text)
{
    if (box->text() == text)
        return; // no change event would come to clear the flag
    edit.TextRestored = true;
    box->setText(text);
}

void EditRules::Restore(QLineEdit *box, const QString &text)
{
    edit.LastEditKey = 0;
    Rewrite(box, text);
    KeyInput::SetPending(box, false);
}

void EditRules::ShowStored(QLineEdit *box)
{
    KeyInput::SetPending(box, box == refusedBox);
}

void EditRules::Committed(QLineEdit *box, bool accepted)
{
    refusedBox = accepted ? nullptr : box;
    edit.LastEditKey = 0;
    KeyInput::SetPending(box, !accepted);
}
