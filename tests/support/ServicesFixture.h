// A main window fixture with services of the test made in the test prefix, deleted after.
#pragma once
#include "apply/ServicesApply.h"
#include "staging/ServiceStaging.h"
#include "staging/ServiceStore.h"
#include "platform/Files.h"
#include "support/TestServices.h"
#include "support/WindowFixture.h"

namespace servicetest
{

using platform::ServiceStart;

inline const ServiceStart Automatic{SERVICE_AUTO_START, false}, Delayed{SERVICE_AUTO_START, true},
    Manual{SERVICE_DEMAND_START, false}, Off{SERVICE_DISABLED, false};

class ServicesTest : public testsupport::MainWindowFixture
{
  protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        servicetest::UseDelayedStandIn();
        platform::RemoveFile(ServiceStartsPath(), true);
    }
    void TearDown() override
    {
        MainWindowFixture::TearDown(); // the window first: it may hold the services' list
        servicetest::DeleteServices(made_);
        platform::OverrideDelayedStart({});
        platform::DenyServiceChanges({});
        platform::RemoveFile(ServiceStartsPath(), true);
    }
    // A service of this test, by the tag that ends its unique name.
    std::wstring Make(const std::wstring& tag, ServiceStart start)
    {
        static int counter = 0;
        made_.push_back(L"RavTest" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                        std::to_wstring(++counter) + tag);
        EXPECT_TRUE(servicetest::MakeService(made_.back(), start));
        return made_.back();
    }
    ServicesState& Fill()
    {
        state_ = ServicesState{};
        FillServices(state_);
        return state_;
    }
    ServiceRow& Row(const std::wstring& name) { return state_.List.Row(state_.List.FindName(name)); }
    void Stage(const std::wstring& name, bool enable) { ASSERT_NE(StageService(state_, name, enable), 0); }

    ServicesState state_;
    std::vector<std::wstring> made_;
};

} // namespace servicetest
