// Sets and unsets environment variables for the length of a test and restores them after.
#pragma once

#include <optional>
#include <utility>
#include <vector>

#include <QByteArray>
#include <QString>

namespace TestSupport {

class ScopedEnvironment {
  public:
    ScopedEnvironment() = default;
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
    ~ScopedEnvironment() {
        for (const auto& [name, value] : saved_) {
            if (value) {
                qputenv(name.constData(), *value);
            } else {
                qunsetenv(name.constData());
            }
        }
    }
    void Set(const char* name, const QString& value) {
        Save(name);
        qputenv(name, value.toUtf8());
    }
    void Unset(const char* name) {
        Save(name);
        qunsetenv(name);
    }

  private:
    // Newest first, so that restoring in order leaves each variable as it was before the test.
    void Save(const char* name) {
        saved_.emplace(
            saved_.begin(), name,
            qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
    }
    std::vector<std::pair<QByteArray, std::optional<QByteArray>>> saved_;
};

}  // namespace TestSupport
