#include "platform/DocumentShell.h"

namespace kzev {

namespace {

/** Before the main window exists nobody can answer a dialog or run a command. */
class NoWindowShell final : public IDocumentShell {
public:
    bool mainWindowExists() override { return false; }
    bool runProjectDialog(ProjectDialogFields&) override { return false; }
    void newRoadway() override { }
};

NoWindowShell g_noWindowShell;
IDocumentShell* g_shell = &g_noWindowShell;

} // namespace

IDocumentShell& documentShell()
{
    return *g_shell;
}

ScopedDocumentShell::ScopedDocumentShell(IDocumentShell& shell)
    : m_previous(g_shell)
{
    g_shell = &shell;
}

ScopedDocumentShell::~ScopedDocumentShell()
{
    g_shell = m_previous;
}

void installDocumentShell(IDocumentShell& shell)
{
    g_shell = &shell;
}

} // namespace kzev
