// SPDX-License-Identifier: GPL-3.0-or-later
#include "pupil/accessibility.h"

#include "pupil/image_control.h"

#include <QAccessibleWidget>

namespace corvane {
namespace {

class ImageControlAccessible : public QAccessibleWidget {
  public:
    explicit ImageControlAccessible(ImageControl* control) : QAccessibleWidget(control) {}

    QAccessible::Role role() const override { return roleOf(control()->kind()); }

    QString text(QAccessible::Text which) const override {
        if (which == QAccessible::Name) return control()->spokenName();
        return QAccessibleWidget::text(which);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
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

QAccessibleInterface* imageControlFactory(const QString& className, QObject* object) {
    if (className != QLatin1String(ImageControl::staticMetaObject.className())) return nullptr;
    return new ImageControlAccessible(static_cast<ImageControl*>(object));
}

} // namespace

void installImageControlAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(imageControlFactory);
        return true;
    }();
    (void)installed;
}

} // namespace corvane
