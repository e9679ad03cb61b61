// The set-up of the tests that act on another program's windows through the
// forms: the main form and the text dialog of this process, the main form
// shown, next to a fixture process.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "forms/Vexlan_unit1.h"
#include "forms/Vexlan_unit2.h"
#include "platform/toolkit/win32/application.h"
#include "platform/toolkit/win32/dialogs.h"
#include "tests/win32/support/fixture_process.h"
#include "tests/win32/toolkit_test_support.h"

namespace vexlan::testing {

class FormsNextToFixtureTest : public ::testing::Test {
 protected:
  // Starts the fixture with `commands`, then the forms. A message box the
  // test does not catch itself fails it, instead of waiting for a click.
  void Start(const std::vector<std::string>& commands) {
    unexpected_.emplace([](const std::string& text) { ADD_FAILURE() << "a message box: " << text; });
    fixture_ = std::make_unique<FixtureProcess>(commands);
    app_ = std::make_unique<TApplication>();
    app_->Initialize();
    app_->CreateForm(Form1);
    app_->CreateForm(Form2);
    Form1->Show();
    Settle(*app_);
  }
  void TearDown() override {
    app_.reset();
    fixture_.reset();
    unexpected_.reset();
  }

  std::optional<ScopedShowMessageHook> unexpected_;
  std::unique_ptr<FixtureProcess> fixture_;
  std::unique_ptr<TApplication> app_;
};

}  // namespace vexlan::testing
