// The frame of every end-to-end test: a work directory, a game directory in it that is the
// program's current directory, a private X server, numbered screenshots, and the steps a
// player takes again and again.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/e2e/e2e_support.h"

namespace zonky::e2e {

class EndToEnd : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Runs once the program has ended, before the work directory goes.
    virtual void AfterProgram() {}

    // Starts the program in the game directory.
    void Start(const std::vector<std::string>& wrapper = {});
    // Closes the welcome dialog and waits for the main window; returns its id.
    std::string PassWelcome(const std::string& welcomeTitle = "^Welcome$");
    // Closes the window as its close button would and answers the good-bye dialog; the
    // program must end by itself.
    void CloseProgram(const std::string& mainWindow,
                      const std::string& goodByeTitle = "^Good Bye!$");

    // Starts a Classic game and plays it until a piece has landed and removed a row.
    void PlayClassicUntilARowGoes(const std::string& mainWindow);
    // Ends the game with Exit and enters `name` in the name dialog.
    void ExitAndEnterName(const std::string& mainWindow, const std::string& name);

    // Keys typed into the focused window, as xdotool names them.
    void Keys(const std::vector<std::string>& keys);
    // A numbered screenshot in this test's artefact folder.
    void Shot(const std::string& what);

    // The dump the condition holds for; fails the test at the timeout.
    Json Expect(const std::function<bool(const Json&)>& ready, const std::string& what,
                milliseconds timeout = kTimeout);

    std::unique_ptr<TempDir> work_;
    fs::path game_;
    std::unique_ptr<XServer> x_;
    std::unique_ptr<GameProgram> program_;

  private:
    int shots_ = 0;
    fs::path artefacts_;
};

}  // namespace zonky::e2e
