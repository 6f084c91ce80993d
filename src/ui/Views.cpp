// One view per kind: the table of the window's views.
#include "ui/Views.h"
#include "ui/ServicesView.h"
#include "ui/StartupView.h"
#include "ui/TasksView.h"

std::vector<std::unique_ptr<EntryView>> MakeViews(const Kinds& kinds, ViewHost& host)
{
    std::vector<std::unique_ptr<EntryView>> views;
    for (const std::unique_ptr<Kind>& kind : kinds.All())
        switch (kind->Id())
        {
        case EntryKind::Startup:
            views.push_back(std::make_unique<StartupView>(static_cast<StartupKind&>(*kind), host));
            break;
        case EntryKind::Service:
            views.push_back(std::make_unique<ServicesView>(static_cast<ServiceKind&>(*kind), host));
            break;
        case EntryKind::Task:
            views.push_back(std::make_unique<TasksView>(static_cast<TaskKind&>(*kind), host));
            break;
        }
    return views;
}
