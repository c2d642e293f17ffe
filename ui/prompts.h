#pragma once

#include <QString>
#include <optional>

class QDialog;

// Every message box, question, file-open dialog and modal window (the settings window) goes
// through this interface. The program uses QtPrompts; tests pass a scripted one.
class Prompts {
public:
    virtual ~Prompts() = default;

    // A modal box with the program's title, no icon and an OK button.
    virtual void inform(const QString& text) = 0;
    // A modal box with Yes and No; true for Yes.
    virtual bool ask(const QString& text) = 0;
    // The file-open dialog, starting in dir with fileName proposed; nullopt when cancelled.
    virtual std::optional<QString> openFile(const QString& dir, const QString& fileName) = 0;
    // Shows a window modally and returns when it has closed.
    virtual void showModal(QDialog& window) = 0;

    // True while one of these boxes, dialogs or modal windows is open (their nested
    // event loops let a timer tick in, which then must not open a second one).
    bool isOpen() const { return open_ > 0; }

protected:
    // Held by an implementation for as long as what it shows stays open.
    class Showing {
    public:
        explicit Showing(Prompts& prompts) : prompts_(prompts) { ++prompts_.open_; }
        ~Showing() { --prompts_.open_; }
        Showing(const Showing&) = delete;
        Showing& operator=(const Showing&) = delete;

    private:
        Prompts& prompts_;
    };

private:
    int open_ = 0;
};

// The program's title in every message box.
QString programTitle();
