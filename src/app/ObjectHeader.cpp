#include "app/ObjectHeader.h"

#include "editors/Session.h"
#include "widgets/KeyInput.h"
#include "widgets/SpinButton.h"
#include "objects/Retrieval.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

using KeyInput::Kind;

ObjectHeader::ObjectHeader(Session &session, QWidget *parent) : QWidget(parent), session(session)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    pnlObjNum = new QGroupBox(QStringLiteral("Preset Num"), this);
    pnlObjNum->setObjectName(QStringLiteral("pnlObjNum"));
    auto *numLayout = new QHBoxLayout(pnlObjNum);
    lblObjNumHash = new QLabel(QStringLiteral("p#"), pnlObjNum);
    lblObjNumHash->setObjectName(QStringLiteral("lblObjNumHash"));
    lblObjNumHash->setMinimumWidth(lblObjNumHash->fontMetrics().horizontalAdvance(QStringLiteral("mu#")));
    txtObjectNum = new QLineEdit(pnlObjNum);
    txtObjectNum->setObjectName(QStringLiteral("txtObjectNum"));
    txtObjectNum->setMaxLength(3);
    txtObjectNum->setFixedWidth(txtObjectNum->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    spnObjectNum = new SpinButton(pnlObjNum);
    spnObjectNum->setObjectName(QStringLiteral("spnObjectNum"));
    numLayout->addWidget(lblObjNumHash);
    numLayout->addWidget(txtObjectNum);
    numLayout->addWidget(spnObjectNum);

    pnlObjName = new QGroupBox(QStringLiteral("Preset Name"), this);
    pnlObjName->setObjectName(QStringLiteral("pnlObjName"));
    auto *nameLayout = new QHBoxLayout(pnlObjName);
    txtObjectName = new QLineEdit(QStringLiteral("No Preset Loaded"), pnlObjName);
    txtObjectName->setObjectName(QStringLiteral("txtObjectName"));
    txtObjectName->setMaxLength(14);
    txtObjectName->setMinimumWidth(txtObjectName->fontMetrics().horizontalAdvance(QStringLiteral("MMMMMMMMMMMMMM")));
    nameLayout->addWidget(txtObjectName);

    layout->addWidget(pnlObjNum);
    layout->addWidget(pnlObjName, 1);

    for (QLineEdit *box : {txtObjectNum, txtObjectName}) {
        box->installEventFilter(this);
        KeyInput::TypedOnly(box);
    }
    connect(txtObjectNum, &QLineEdit::textChanged, this, &ObjectHeader::NumberChanged);
    connect(txtObjectName, &QLineEdit::textChanged, this, &ObjectHeader::NameChanged);
    connect(spnObjectNum, &SpinButton::SpinUp, this, [this] { Spin(true); });
    connect(spnObjectNum, &SpinButton::SpinDown, this, [this] { Spin(false); });
}

void ObjectHeader::SetCaptions(const QString &numCaption, const QString &nameCaption, const QString &prefix)
{
    pnlObjNum->setTitle(numCaption);
    pnlObjName->setTitle(nameCaption);
    lblObjNumHash->setText(prefix);
}

QString ObjectHeader::Prefix() const
{
    return lblObjNumHash->text();
}

int ObjectHeader::CurrentKind() const
{
    return KindOfPrefix(Prefix());
}

QString ObjectHeader::NumberText() const
{
    return txtObjectNum->text();
}

void ObjectHeader::SetContents(const QString &number, const QString &name)
{
    const QSignalBlocker numberBlocker(txtObjectNum);
    const QSignalBlocker nameBlocker(txtObjectName);
    txtObjectNum->setText(number);
    txtObjectName->setText(name);
    KeyInput::SetPending(txtObjectNum, false);
    KeyInput::SetPending(txtObjectName, false);
}

void ObjectHeader::Lock(bool locked)
{
    txtObjectNum->setReadOnly(locked);
    txtObjectName->setReadOnly(locked);
}

void ObjectHeader::LockNumberOnly(bool locked)
{
    txtObjectNum->setReadOnly(locked);
}

bool ObjectHeader::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto &key = static_cast<const QKeyEvent &>(*event);
    return watched == txtObjectNum ? NumberKeyPress(key) : NameKeyPress(key);
}

// True: the key is discarded.
bool ObjectHeader::NumberKeyPress(const QKeyEvent &event)
{
    const KeyInput::Key key = KeyInput::Classify(event);
    if (key.kind == Kind::Navigation)
        return false;
    EditState &edit = session.edit;
    if (session.exchange.refuseIfBusy() || !session.link.isOnline() || txtObjectNum->isReadOnly())
        return true;
    switch (key.kind) {
    case Kind::Enter:
        edit.LastEditKey = EditState::Enter;
        edit.EditPending = false;
        NumberChanged();
        return true;
    case Kind::Backspace:
        edit.LastEditKey = EditState::Backspace;
        KeyInput::SetPending(txtObjectNum, true);
        edit.EditPending = true;
        return false;
    case Kind::Character:
        if (!key.character.isDigit())
            return true;
        edit.LastEditKey = key.code();
        KeyInput::SetPending(txtObjectNum, true);
        edit.EditPending = true;
        return false;
    default:
        return true;
    }
}

bool ObjectHeader::NameKeyPress(const QKeyEvent &event)
{
    const KeyInput::Key key = KeyInput::Classify(event);
    if (key.kind == Kind::Navigation)
        return false;
    EditState &edit = session.edit;
    if (session.exchange.refuseIfBusy() || key.kind == Kind::Other)
        return true;
    if (key.kind == Kind::Enter) {
        edit.LastEditKey = EditState::Enter;
        edit.EditPending = false;
        NameChanged();
        return true;
    }
    // Names travel as 7-bit characters.
    if (key.kind == Kind::Character && key.character.unicode() > 0x7E)
        return true;
    edit.LastEditKey = key.code();
    if (!txtObjectName->isReadOnly())
        KeyInput::SetPending(txtObjectName, true);
    edit.EditPending = true;
    return false;
}

void ObjectHeader::NumberChanged()
{
    EditState &edit = session.edit;
    if (edit.LastEditKey == EditState::Backspace || edit.EditPending || edit.TextRestored) {
        edit.TextRestored = false;
        return;
    }
    if (!spinActive && edit.LastEditKey != EditState::Enter)
        return;
    const int kind = CurrentKind();
    if (kind >= 0)
        Change_ObjectNum(kind);
}

void ObjectHeader::NameChanged()
{
    EditState &edit = session.edit;
    if (edit.LastEditKey == EditState::Backspace || edit.EditPending || edit.TextRestored) {
        if (edit.TextRestored) {
            edit.TextRestored = false;
            KeyInput::SetPending(txtObjectName, false);
        }
        return;
    }
    if (edit.LastEditKey != EditState::Enter)
        return;
    const int kind = CurrentKind();
    if (kind < 0)
        return;
    // A Map's name lives in its header, which goes back as an object of its own.
    const int uploadKind = kind == KindMap ? KindMapHeader : kind;
    if (Change_ObjectName(kind, uploadKind) && retrieval)
        retrieval->ObjectDownload(kind);
}

bool ObjectHeader::Change_ObjectName(int kind, int uploadKind)
{
    EditState &edit = session.edit;
    KindState &state = session.objects.of(kind);
    if (edit.LastEditKey == EditState::Backspace || edit.EditPending || edit.TextRestored) {
        if (edit.TextRestored) {
            edit.TextRestored = false;
            KeyInput::SetPending(txtObjectName, false);
        }
        return false;
    }
    if (txtObjectName->text().isEmpty() && edit.LastEditKey == EditState::Enter) {
        edit.TextRestored = true;
        edit.LastEditKey = 0;
        txtObjectName->setText(state.ImageName().trimmed());
        return false;
    }
    if (edit.LastEditKey != EditState::Enter)
        return false;
    const QString name = txtObjectName->text().trimmed();
    edit.LastEditKey = 0;
    if (!session.io.ObjectUpload(uploadKind, state.Num, name, ObjectIO::NamePosition, 28, true))
        return false;
    KeyInput::SetPending(txtObjectName, false);
    return true;
}

void ObjectHeader::WriteNumber(int number)
{
    const QString text = QString::number(number);
    if (text == txtObjectNum->text())
        return; // no change event will come to clear the flag
    session.edit.TextRestored = true;
    txtObjectNum->setText(text);
}

bool ObjectHeader::Change_ObjectNum(int kind)
{
    EditState &edit = session.edit;
    KindState &state = session.objects.of(kind);
    const QString text = txtObjectNum->text();
    if (text.isEmpty() && edit.LastEditKey == EditState::Enter) {
        edit.LastEditKey = 0;
        WriteNumber(state.Num);
        if (retrieval && retrieval->routines(kind).display)
            retrieval->routines(kind).display();
        KeyInput::SetPending(txtObjectNum, false);
        return false;
    }
    int n = text.toInt();
    if (n == state.Num) {
        edit.LastEditKey = 0;
        KeyInput::SetPending(txtObjectNum, false);
        return false;
    }
    if (!spinActive && edit.LastEditKey != EditState::Enter)
        return true;
    const ObjDir &dir = state.Dir;
    const bool atCurrent = state.DirPos >= 0 && state.DirPos < dir.Count() && dir.Entries[state.DirPos].Number == n;
    if (!atCurrent && dir.Count() > 0) {
        if (n > state.Status.Highest || n < state.Status.Lowest) {
            n = n > state.Status.Highest ? state.Status.Highest : state.Status.Lowest;
            WriteNumber(n);
        }
        // A number not in use moves up to the next object that is.
        int stop = dir.Count() - 1;
        for (int i = 0; i < dir.Count(); ++i) {
            const int number = dir.Entries[i].Number;
            if (number >= n || number == state.Status.Highest) {
                stop = i;
                break;
            }
        }
        state.DirPos = stop;
        if (dir.Entries[stop].Number != n) {
            n = dir.Entries[stop].Number;
            WriteNumber(n);
        }
    }
    if (retrieval)
        retrieval->ObjectDownload(kind);
    edit.LastEditKey = 0;
    KeyInput::SetPending(txtObjectNum, false);
    return true;
}

void ObjectHeader::Spin(bool up)
{
    if (session.exchange.refuseIfBusy() || !session.link.isOnline())
        return;
    const int kind = CurrentKind();
    if (kind < 0)
        return;
    KindState &state = session.objects.of(kind);
    int number = 0;
    if (txtObjectNum->text().isEmpty()) {
        state.Status = session.io.GetObjDirStatus(kind);
        if (!state.Have) {
            session.comms.ShowError(-1, QStringLiteral("Load %1 Object").arg(QLatin1String(Kind(kind).name)),
                                    NoObjectsText(kind));
            return;
        }
        state.Dir = session.io.GetObjDir(kind);
        number = state.Status.Lowest;
        state.DirPos = std::max(0, state.Dir.IndexOf(number));
    } else {
        number = txtObjectNum->text().toInt();
        const int step = up ? 1 : -1;
        const bool canMove = up ? number < state.Status.Highest : number > state.Status.Lowest;
        const int next = state.DirPos + step;
        if (canMove && next >= 0 && next < state.Dir.Count()) {
            state.DirPos = next;
            number = state.Dir.Entries[next].Number;
        }
    }
    spinActive = true;
    txtObjectNum->setText(QString::number(number));
    spinActive = false;
}
