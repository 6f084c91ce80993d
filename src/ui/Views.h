// The view of each kind of entry, in the order of the kinds' table.
#pragma once
#include "kinds/Kinds.h"
#include "ui/EntryView.h"

#include <memory>
#include <vector>

std::vector<std::unique_ptr<EntryView>> MakeViews(const Kinds& kinds, ViewHost& host);
