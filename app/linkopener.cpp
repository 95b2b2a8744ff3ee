#include "app/linkopener.h"

#include "env/openguard.h"

namespace app {

void openLink(const QString& target, const QString& documentFolder)
{
    env::OpenGuard(documentFolder).openLink(target);
}

} // namespace app
