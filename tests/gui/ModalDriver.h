#pragma once
// Answers the modal dialogs and message boxes a test expects, in order, the
// way a user would: it waits for each to come up and acts on it.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <deque>
#include <functional>
#include <string>
#include <vector>

class TModalDriver : public QObject {
public:
    // A step acts on the active modal widget and answers true, or answers
    // false when that widget is not the one it waits for.
    using TStep = std::function<bool(QWidget*)>;

    TModalDriver()
    {
        connect(&FPoll, &QTimer::timeout, this, &TModalDriver::Poll);
        FPoll.start(10);
    }

    void Then(TStep step) { FSteps.push_back(std::move(step)); }

    // Answers the next message box with `button`, keeping its text; `look`
    // may look around first, while the box is up.
    void ThenMessage(QMessageBox::StandardButton button, std::function<void()> look = nullptr)
    {
        Then([this, button, look](QWidget* widget) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (!box)
                return false;
            if (look)
                look();
            Messages.push_back(box->text().toStdString());
            Captions.push_back(box->windowTitle().toStdString());
            std::string texts;
            for (QAbstractButton* shown : box->buttons())
                texts += (texts.empty() ? "" : "|") + shown->text().toStdString();
            Buttons.push_back(texts);
            box->button(button)->click();
            return true;
        });
    }

    bool Done() const { return FSteps.empty(); }
    std::vector<std::string> Messages;
    std::vector<std::string> Captions;
    std::vector<std::string> Buttons;  // each box's button texts, "|" between
    std::vector<std::string> Unexpected;  // modal widgets no step wanted

private:
    void Poll()
    {
        QWidget* widget = QApplication::activeModalWidget();
        if (!widget || !widget->isVisible())
            return;
        if (!FSteps.empty() && FSteps.front()(widget)) {
            FSteps.pop_front();
            return;
        }
        if (FSteps.empty()) {
            Unexpected.push_back(widget->metaObject()->className());
            if (auto* box = qobject_cast<QMessageBox*>(widget))
                Unexpected.back() += ": " + box->text().toStdString();
            widget->close();
        }
    }

    QTimer FPoll;
    std::deque<TStep> FSteps;
};
