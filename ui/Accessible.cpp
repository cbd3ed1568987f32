#include "Accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QWidget>

#include <algorithm>

namespace orbitra {

namespace {

// The dynamic property that tells the factory below how a widget is presented.
constexpr char kPresentedAs[] = "orbitraPresentedAs";
enum class Presented { Button = 1, Window, Notice };

// The name of the window's notice, the widget whose showing is heard.
constexpr char kNotice[] = "notice";

// The accessible description a widget has while it is not announcing.
constexpr char kUsualDescription[] = "orbitraUsualDescription";

class ButtonInterface : public QAccessibleWidget {
public:
    explicit ButtonInterface(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Button) {}

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        names.prepend(pressAction());
        return names;
    }

    void doAction(const QString& action) override {
        if (action != pressAction()) {
            QAccessibleWidget::doAction(action);
            return;
        }
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QCoreApplication::sendEvent(widget(), &press);
        QCoreApplication::sendEvent(widget(), &release);
    }
};

QAccessibleInterface* presentAs(const QString&, QObject* object) {
    if (object == nullptr || !object->isWidgetType()) {
        return nullptr;
    }
    auto* widget = static_cast<QWidget*>(object);
    switch (Presented(object->property(kPresentedAs).toInt())) {
        case Presented::Button:
            return new ButtonInterface(widget);
        case Presented::Window:
            return new QAccessibleWidget(widget, QAccessible::Window);
        case Presented::Notice:
            return new QAccessibleWidget(widget, QAccessible::Notification);
    }
    return nullptr;
}

void presentAs(QWidget* widget, Presented how) {
    static const bool installed = [] {
        QAccessible::installFactory(presentAs);
        return true;
    }();
    Q_UNUSED(installed);
    widget->setProperty(kPresentedAs, int(how));
    // An interface made for it before, while assistive technology listened,
    // gives way to the one made now.
    const QAccessible::Role role = how == Presented::Button   ? QAccessible::Button
                                   : how == Presented::Window ? QAccessible::Window
                                                              : QAccessible::Notification;
    QAccessibleInterface* made = QAccessible::queryAccessibleInterface(widget);
    if (made != nullptr && made->role() != role) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    }
}

// Gives a widget back its usual description once the focus has gone elsewhere
// and the new focus has been told of, so the change is not heard.
class DescriptionRestorer : public QObject {
public:
    explicit DescriptionRestorer(QWidget* widget) : QObject(widget) {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusOut) {
            QPointer<QWidget> widget(static_cast<QWidget*>(watched));
            QMetaObject::invokeMethod(
                this,
                [widget] {
                    if (widget && !widget->hasFocus()) {
                        widget->setAccessibleDescription(
                            widget->property(kUsualDescription).toString());
                    }
                },
                Qt::QueuedConnection);
        }
        return false;
    }
};

// Lets a text box tell of its focus before its caret. A box that takes the
// focus by Tab selects its text at once, and a screen reader that hears of the
// selection and caret before the focus takes the focus as moved without saying
// so. Here the box takes the focus as if clicked, and selects its text just
// after, as it would have: the same selection, shown a moment later.
class FocusFirst : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::FocusIn) {
            return false;
        }
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason &&
            reason != Qt::ShortcutFocusReason) {
            return false;
        }
        QFocusEvent plain(QEvent::FocusIn, Qt::OtherFocusReason);
        QCoreApplication::sendEvent(watched, &plain);
        QPointer<QLineEdit> box(static_cast<QLineEdit*>(watched));
        QMetaObject::invokeMethod(
            this,
            [box] {
                if (box && box->hasFocus()) {
                    box->selectAll();
                }
            },
            Qt::QueuedConnection);
        return true;
    }
};

}  // namespace

void exposeAsButton(QWidget* widget) {
    presentAs(widget, Presented::Button);
}

void exposeAsWindow(QWidget* window) {
    presentAs(window, Presented::Window);
}

void announce(QWidget* widget, const QString& message) {
    if (!widget->property(kUsualDescription).isValid()) {
        widget->setProperty(kUsualDescription, widget->accessibleDescription());
        new DescriptionRestorer(widget);
    }
    widget->setAccessibleDescription(message);
    // Qt 6.4 sends a changed description to AT-SPI without its text, and has no
    // announcement: a screen reader speaks a notification as it is shown. The
    // notice is an empty widget of no size, so nothing shows on the screen.
    QWidget* window = widget->window();
    auto* notice = window->findChild<QWidget*>(kNotice, Qt::FindDirectChildrenOnly);
    if (notice == nullptr) {
        notice = new QWidget(window);
        presentAs(notice, Presented::Notice);
        notice->setObjectName(kNotice);
        notice->setGeometry(0, 0, 0, 0);
        notice->setFocusPolicy(Qt::NoFocus);
        notice->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    notice->hide();
    notice->setAccessibleName(message);
    notice->show();
}

QString recordHeard(int number, const QStringList& fields) {
    const QString name = fields.value(0).trimmed();
    if (!name.isEmpty()) {
        return name;
    }
    const bool empty = std::all_of(fields.begin(), fields.end(),
                                   [](const QString& field) { return field.trimmed().isEmpty(); });
    return empty ? QCoreApplication::translate("orbitra", "Record %1 is empty").arg(number)
                 : QCoreApplication::translate("orbitra", "Record %1 has no name").arg(number);
}

void focusHeardFirst(QWidget* window) {
    auto* filter = new FocusFirst(window);
    for (QLineEdit* box : window->findChildren<QLineEdit*>()) {
        box->installEventFilter(filter);
    }
}

PaneKeys::PaneKeys(QWidget* window, std::vector<QWidget*> first, std::vector<QWidget*> second)
    : QObject(window),
      first_(std::move(first)),
      second_(std::move(second)),
      lastOfFirst_(first_.front()) {
    for (QWidget* w : first_) {
        w->installEventFilter(this);
    }
    for (QWidget* w : second_) {
        w->installEventFilter(this);
    }
}

bool PaneKeys::eventFilter(QObject* watched, QEvent* event) {
    const auto inFirst = std::find(first_.begin(), first_.end(), watched);
    if (event->type() == QEvent::FocusIn && inFirst != first_.end()) {
        lastOfFirst_ = *inFirst;
    }
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
        return false;
    }
    const auto inSecond = std::find(second_.begin(), second_.end(), watched);
    if (key->key() == Qt::Key_F6) {
        if (inFirst != first_.end()) {
            second_.front()->setFocus(Qt::OtherFocusReason);
        } else {
            lastOfFirst_->setFocus(Qt::OtherFocusReason);
        }
        return true;
    }
    if (inSecond == second_.end() || (key->key() != Qt::Key_Down && key->key() != Qt::Key_Up)) {
        return false;
    }
    if (key->key() == Qt::Key_Down && inSecond + 1 != second_.end()) {
        (*(inSecond + 1))->setFocus(Qt::OtherFocusReason);
    } else if (key->key() == Qt::Key_Up && inSecond != second_.begin()) {
        (*(inSecond - 1))->setFocus(Qt::OtherFocusReason);
    }
    return true;
}

}  // namespace orbitra
