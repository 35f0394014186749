// SPDX-License-Identifier: GPL-3.0-or-later
#include "pupil/accessibility.h"

#include "pupil/image_control.h"
#include "pupil/screen_reader_text.h"

#include <QAccessibleWidget>
#include <QLineEdit>

namespace corvane {
namespace {

class ImageControlAccessible : public QAccessibleWidget {
  public:
    explicit ImageControlAccessible(ImageControl* control) : QAccessibleWidget(control) {}

    QAccessible::Role role() const override { return roleOf(control()->kind()); }

    // Words drawn on a box out of sight are not told: the boxes of the review hold the right
    // answers while the test is taken.
    QString text(QAccessible::Text which) const override {
        if (control()->kind() == ImageControl::Kind::Text && !control()->isVisible()) return {};
        if (which == QAccessible::Name) return control()->spokenName();
        return QAccessibleWidget::text(which);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.invisible = !control()->isVisible();
        if (control()->kind() == ImageControl::Kind::CheckBox) {
            state.checkable = true;
            state.checked = control()->isChecked();
        }
        return state;
    }

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (!pressable()) return names;
        names.prepend(control()->kind() == ImageControl::Kind::CheckBox ? toggleAction()
                                                                        : pressAction());
        return names;
    }

    void doAction(const QString& name) override {
        if (pressable() && (name == pressAction() || name == toggleAction()))
            control()->press();
        else
            QAccessibleWidget::doAction(name);
    }

  private:
    static QAccessible::Role roleOf(ImageControl::Kind kind) {
        switch (kind) {
        case ImageControl::Kind::Button:
            return QAccessible::Button;
        case ImageControl::Kind::CheckBox:
            return QAccessible::CheckBox;
        case ImageControl::Kind::Text:
            return QAccessible::StaticText;
        case ImageControl::Kind::Picture:
            break;
        }
        return QAccessible::Graphic;
    }

    ImageControl* control() const { return static_cast<ImageControl*>(widget()); }

    // Every control that answers a click, while it takes input.
    bool pressable() const { return control()->isEnabled() && control()->answersPress(); }
};

// The words of a page: read-only text that says them as its name.
class ScreenReaderTextAccessible : public QAccessibleWidget {
  public:
    explicit ScreenReaderTextAccessible(ScreenReaderText* words)
        : QAccessibleWidget(words, QAccessible::StaticText) {}

    QString text(QAccessible::Text which) const override {
        const auto* words = static_cast<const ScreenReaderText*>(widget());
        if (which == QAccessible::Name) return words->isVisible() ? words->spoken() : QString();
        return QAccessibleWidget::text(which);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        return state;
    }
};

// A browser view: the screen reader hears its page through the page's ScreenReaderText, so the
// engine's own tree (the page on show, a page loaded ahead out of sight) is not reachable here.
class PageViewAccessible : public QAccessibleWidget {
  public:
    explicit PageViewAccessible(QWidget* view) : QAccessibleWidget(view, QAccessible::Pane) {}
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
};

QAccessibleInterface* pupilWindowFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(ImageControl::staticMetaObject.className()))
        return new ImageControlAccessible(static_cast<ImageControl*>(object));
    if (className == QLatin1String(ScreenReaderText::staticMetaObject.className()))
        return new ScreenReaderTextAccessible(static_cast<ScreenReaderText*>(object));
    if (object->isWidgetType() && object->property("pageView").toBool())
        return new PageViewAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

bool hidesItsText(const QObject* object) {
    const auto* edit = qobject_cast<const QLineEdit*>(object);
    return edit && edit->echoMode() != QLineEdit::Normal;
}

// Text events of a password box carry the typed characters; a screen reader hears bullets.
void passwordSafeUpdate(QAccessibleEvent* event) {
    static const QChar bullet(0x25CF);
    const auto bullets = [](const QString& text) { return QString(text.size(), bullet); };
    QAccessible::installUpdateHandler(nullptr);
    if (hidesItsText(event->object())) {
        if (event->type() == QAccessible::TextInserted) {
            auto* inserted = static_cast<QAccessibleTextInsertEvent*>(event);
            QAccessibleTextInsertEvent safe(event->object(), inserted->changePosition(),
                                            bullets(inserted->textInserted()));
            QAccessible::updateAccessibility(&safe);
        } else if (event->type() == QAccessible::TextRemoved) {
            auto* removed = static_cast<QAccessibleTextRemoveEvent*>(event);
            QAccessibleTextRemoveEvent safe(event->object(), removed->changePosition(),
                                            bullets(removed->textRemoved()));
            QAccessible::updateAccessibility(&safe);
        } else if (event->type() == QAccessible::TextUpdated) {
            auto* updated = static_cast<QAccessibleTextUpdateEvent*>(event);
            QAccessibleTextUpdateEvent safe(event->object(), updated->changePosition(),
                                            bullets(updated->textRemoved()),
                                            bullets(updated->textInserted()));
            QAccessible::updateAccessibility(&safe);
        } else {
            QAccessible::updateAccessibility(event);
        }
    } else {
        QAccessible::updateAccessibility(event);
    }
    QAccessible::installUpdateHandler(passwordSafeUpdate);
}

} // namespace

void installImageControlAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(pupilWindowFactory);
        QAccessible::installUpdateHandler(passwordSafeUpdate);
        return true;
    }();
    (void)installed;
}

} // namespace corvane
