// Through Qt's environment functions, which take the lock that Qt's own
// readers take: the override ends while Qt's threads already run.

#include "platform/environment.h"

#include <QByteArray>
#include <QtGlobal>

#include <utility>

namespace platform {
namespace {

void SetOrUnset(const std::string& name, const std::optional<std::string>& value)
{
    if (value)
        qputenv(name.c_str(), QByteArray::fromStdString(*value));
    else
        qunsetenv(name.c_str());
}

} // namespace

TEnvironmentOverride::TEnvironmentOverride(std::string name, const std::optional<std::string>& value)
    : name_(std::move(name))
{
    if (qEnvironmentVariableIsSet(name_.c_str()))
        previous_ = qgetenv(name_.c_str()).toStdString();
    SetOrUnset(name_, value);
}

TEnvironmentOverride::~TEnvironmentOverride() { SetOrUnset(name_, previous_); }

} // namespace platform
