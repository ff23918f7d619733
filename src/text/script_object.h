#pragma once

// A JScript engine on which named script functions are run. Texts cross into the
// engine converted from GBK and come back converted to it. Every failure (script
// error, unknown procedure, a language that cannot run here, a time-out) reads as
// an empty result with its description in lastError(); nothing is shown or thrown.
// Like any QJSEngine it needs a QCoreApplication to exist.

#include "text/text.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

class QJSEngine;

namespace mz {

// Arguments of run: the leading given ones are passed, up to the first omitted one.
using ScriptArguments = std::array<std::optional<Text>, 6>;

class ScriptObject {
  public:
    ScriptObject();
    // The copy shares the engine, its code and its properties.
    ScriptObject(const ScriptObject& other);
    ScriptObject& operator=(const ScriptObject&) = delete;
    virtual ~ScriptObject();

    // True when the statement ran without failure.
    virtual bool executeStatement(const Text& statement);
    virtual Text eval(const Text& expression);
    // Discards all code added so far; the language and the properties stay.
    virtual void reset();
    // Description of the failure of the latest engine access; empty after success.
    virtual Text lastError() const;
    // The engine now in use (a reset replaces it).
    virtual std::shared_ptr<QJSEngine> engine() const;
    virtual Text run(const Text& procedure, const ScriptArguments& arguments = {});
    // 0 selects "JScript", 1 "vbs"; other codes change nothing. Returns the language
    // now set. Only JScript runs here: under "vbs" every script access fails.
    virtual Text language(int code = 0);
    // Milliseconds a script may run before it is interrupted; -1 (or any value
    // below 1) means no limit. Omitted, the limit becomes -1.
    virtual int timeout(std::optional<int> milliseconds = std::nullopt);
    // 0 (initialised) or 1 (connected); other values are refused.
    virtual int state(std::optional<int> value = std::nullopt);
    virtual bool allowUI(std::optional<bool> value = std::nullopt);
    virtual std::intptr_t siteWindow(std::optional<std::intptr_t> handle = std::nullopt);
    virtual void addCode(const Text& code);
    virtual void nop();

  private:
    struct Control;

    void initialize();
    void release();
    // Runs source as global code; nullopt (and lastError set) on failure.
    std::optional<Text> evaluateGlobal(const Text& source);
    bool languageRuns();

    std::shared_ptr<Control> control_;
    Text lastError_;
};

} // namespace mz
