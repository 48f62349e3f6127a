#pragma once

#include <QString>
#include <QStringList>

namespace dorvik::common {

enum class MessageIcon { None, Information, Stop, Question };

struct MessageRequest {
    QString caption;
    QString text;
    QStringList buttons;
    MessageIcon icon = MessageIcon::None;
};

// Every message box and the error display go through the installed prompter, so tests
// can answer them and read what they said.
class Prompter {
public:
    virtual ~Prompter() = default;
    // Shows the request modally; returns the index of the button pressed.
    virtual int ask(const MessageRequest& request) = 0;

    static Prompter& current();
    // Replaces the prompter (nullptr restores the on-screen one); returns the previous one.
    static Prompter* install(Prompter* prompter);
};

// A modal box centred on the screen.
class DialogPrompter : public Prompter {
public:
    int ask(const MessageRequest& request) override;
};

// A window's one message box: a fixed caption; handlers set the text, the buttons and
// the icon and test only whether the first button was pressed.
class MessageBox {
public:
    explicit MessageBox(QString caption) : caption_(std::move(caption)) {}

    const QString& caption() const { return caption_; }
    // True when the first button (OK / yes) was pressed.
    bool show(const QString& text, MessageIcon icon, const QStringList& buttons = {QStringLiteral("OK")}) const;

private:
    QString caption_;
};

} // namespace dorvik::common
