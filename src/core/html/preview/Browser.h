#pragma once

#include <string>
#include <vector>

// What the preview commands need of a browser window and of the list of them.
// The ui implements it over the real web view; tests use a scripted one.
namespace pictra::preview {

class Browser {
public:
    virtual ~Browser() = default;

    // Loads a local file (absolute path) or a web address; the address field is left alone.
    virtual void navigate(const std::string& target) = 0;
    // Reloads the shown page; false when nothing can be reloaded.
    virtual bool reload() = 0;
    virtual void blank() = 0;
    virtual void back() = 0;
    virtual void forward() = 0;
    virtual void print() = 0;
    // The text of the address field `Edit_url`.
    virtual std::string address() const = 0;
    virtual void setAddress(const std::string& address) = 0;
    // Shows the window and brings it to the front.
    virtual void present() = 0;
    virtual void focusAddress() = 0;
};

class BrowserList {
public:
    virtual ~BrowserList() = default;

    virtual std::vector<Browser*> browsers() = 0;
    // Null while there is no browser window.
    virtual Browser* current() = 0;
    virtual void makeCurrent(Browser& browser) = 0;
    // A new window, which becomes the current one.
    virtual Browser& create() = 0;
};

// The current browser, created when there is none.
Browser& currentOrNew(BrowserList& list);
// The window whose address is `target` or `target` with the extension ".html" (case ignored).
Browser* findShowing(BrowserList& list, const std::string& target);

}  // namespace pictra::preview
