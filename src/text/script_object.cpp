#include "text/script_object.h"

#include "text/qt_text.h"

#include <QJSEngine>
#include <QJSValue>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace mz {
namespace {

const Text languageJScript = "JScript";
const Text languageVbs = "vbs";
constexpr int defaultTimeoutMs = 10000;
constexpr int stateInitialized = 0;
constexpr int stateConnected = 1;

// Both traps run inside the engine and turn a thrown value into a plain result,
// so a thrown string is never mistaken for a returned one. They capture eval and
// Reflect.apply when the engine starts, so script code that redefines either
// cannot break them. Calling the captured eval is an indirect eval: the code runs
// as global code and its declarations stay.
const char* const evalTrapSource = R"((function (evaluate) {
    return function (code) {
        try { return { ok: true, value: evaluate(code) }; }
        catch (e) { return { ok: false, error: e }; }
    };
})(eval))";

const char* const callTrapSource = R"((function (apply) {
    return function (f, args) {
        try { return { ok: true, value: apply(f, undefined, args) }; }
        catch (e) { return { ok: false, error: e }; }
    };
})(Reflect.apply))";

// Interrupts the engine when a script runs past its time limit. The engine can
// only be interrupted from another thread while the script holds this one.
class Watchdog {
  public:
    Watchdog(QJSEngine& engine, int milliseconds) : engine_(engine) {
        if (milliseconds > 0)
            thread_ = std::thread([this, milliseconds] { watch(milliseconds); });
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;
    ~Watchdog() { stop(); }

    // Ends the watch; true when the engine was interrupted.
    bool stop() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        wake_.notify_one();
        if (thread_.joinable())
            thread_.join();
        engine_.setInterrupted(false);
        return fired_;
    }

  private:
    void watch(int milliseconds) {
        std::unique_lock lock(mutex_);
        if (wake_.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return done_; }))
            return;
        fired_ = true;
        engine_.setInterrupted(true);
    }

    QJSEngine& engine_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool done_ = false;
    bool fired_ = false;
    std::thread thread_;
};

Text resultText(const QJSValue& value) {
    if (value.isUndefined() || value.isNull())
        return {};
    return fromQString(value.toString());
}

} // namespace

struct ScriptObject::Control {
    std::shared_ptr<QJSEngine> engine; // declared first: outlives the traps below
    QJSValue evalTrap;
    QJSValue callTrap;
    Text language = languageJScript;
    int timeout = defaultTimeoutMs;
    int state = stateInitialized;
    bool allowUI = true;
    std::intptr_t siteWindow = 0;

    void startEngine() {
        // The traps belong to the old engine and must go before it does.
        evalTrap = QJSValue();
        callTrap = QJSValue();
        engine = std::make_shared<QJSEngine>();
        evalTrap = engine->evaluate(QString::fromLatin1(evalTrapSource));
        callTrap = engine->evaluate(QString::fromLatin1(callTrapSource));
    }

    // Runs trap with arguments under the time limit; the trap's value, or the
    // failure's description in error.
    std::optional<QJSValue> runTrap(QJSValue& trap, const QJSValueList& arguments, Text& error) {
        Watchdog watchdog(*engine, timeout);
        QJSValue outcome = trap.call(arguments);
        const bool interrupted = watchdog.stop();
        if (outcome.isObject() && outcome.hasOwnProperty(QStringLiteral("ok"))) {
            if (outcome.property(QStringLiteral("ok")).toBool())
                return outcome.property(QStringLiteral("value"));
            error = fromQString(outcome.property(QStringLiteral("error")).toString());
            return std::nullopt;
        }
        error = interrupted ? "script interrupted after " + std::to_string(timeout) + " ms"
                            : fromQString(outcome.toString());
        return std::nullopt;
    }
};

ScriptObject::ScriptObject() {
    initialize();
}

ScriptObject::ScriptObject(const ScriptObject& other) : control_(other.control_) {}

ScriptObject::~ScriptObject() {
    release();
}

void ScriptObject::initialize() {
    control_ = std::make_shared<Control>();
    control_->startEngine();
}

void ScriptObject::release() {
    control_.reset();
}

bool ScriptObject::languageRuns() {
    if (control_->language == languageJScript)
        return true;
    lastError_ = "the language \"" + control_->language + "\" cannot run here";
    return false;
}

std::optional<Text> ScriptObject::evaluateGlobal(const Text& source) {
    if (!languageRuns())
        return std::nullopt;
    lastError_.clear();
    auto value = control_->runTrap(control_->evalTrap, {toQString(source)}, lastError_);
    if (!value)
        return std::nullopt;
    return resultText(*value);
}

bool ScriptObject::executeStatement(const Text& statement) {
    evaluateGlobal(statement);
    return lastError_.empty();
}

Text ScriptObject::eval(const Text& expression) {
    return evaluateGlobal(expression).value_or(Text());
}

void ScriptObject::addCode(const Text& code) {
    evaluateGlobal(code);
}

void ScriptObject::reset() {
    control_->startEngine();
    control_->state = stateInitialized;
    lastError_.clear();
}

Text ScriptObject::lastError() const {
    return lastError_;
}

std::shared_ptr<QJSEngine> ScriptObject::engine() const {
    return control_->engine;
}

Text ScriptObject::run(const Text& procedure, const ScriptArguments& arguments) {
    if (!languageRuns())
        return {};
    lastError_.clear();
    QJSEngine& engine = *control_->engine;
    QJSValue function = engine.globalObject().property(toQString(procedure));
    if (!function.isCallable()) {
        lastError_ = "unknown procedure: " + procedure;
        return {};
    }
    QJSValue passed = engine.newArray();
    quint32 count = 0;
    for (const auto& argument : arguments) {
        if (!argument)
            break;
        passed.setProperty(count++, toQString(*argument));
    }
    auto value = control_->runTrap(control_->callTrap, {function, passed}, lastError_);
    return value ? resultText(*value) : Text();
}

Text ScriptObject::language(int code) {
    if (code == 0)
        control_->language = languageJScript;
    else if (code == 1)
        control_->language = languageVbs;
    lastError_.clear();
    return control_->language;
}

int ScriptObject::timeout(std::optional<int> milliseconds) {
    control_->timeout = milliseconds.value_or(-1);
    lastError_.clear();
    return control_->timeout;
}

int ScriptObject::state(std::optional<int> value) {
    lastError_.clear();
    if (value) {
        if (*value == stateInitialized || *value == stateConnected)
            control_->state = *value;
        else
            lastError_ = "invalid state " + std::to_string(*value);
    }
    return control_->state;
}

bool ScriptObject::allowUI(std::optional<bool> value) {
    if (value)
        control_->allowUI = *value;
    lastError_.clear();
    return control_->allowUI;
}

std::intptr_t ScriptObject::siteWindow(std::optional<std::intptr_t> handle) {
    if (handle)
        control_->siteWindow = *handle;
    lastError_.clear();
    return control_->siteWindow;
}

void ScriptObject::nop() {}

} // namespace mz
