#pragma once
// Points the per-user config folder (and the home folder, which Qt's test mode uses instead) at a
// temporary folder for the lifetime of the object, so that start-at-logon tests never touch the real
// account.
#include <QByteArray>
#include <QTemporaryDir>
#include <QtGlobal>

class ScopedEnv {
  public:
    ScopedEnv(const char *name, const QByteArray &value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        qputenv(name_, value);
    }
    ~ScopedEnv() {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;

  private:
    const char *name_;
    bool had_;
    QByteArray old_;
};

struct AutostartSandbox {
    QTemporaryDir home;
    ScopedEnv homeEnv{"HOME", home.path().toUtf8()};
    ScopedEnv configEnv{"XDG_CONFIG_HOME", (home.path() + "/config").toUtf8()};
};
