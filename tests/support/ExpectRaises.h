// Checks that an action raises the exception class E with exactly the given message.
#pragma once

#include <gtest/gtest.h>

#include "classlib/Exceptions.h"

template <class E, class Action>
void ExpectRaises(Action A, const AnsiString& Message) {
  try {
    A();
    ADD_FAILURE() << "nothing raised; expected: " << Message;
  } catch (const E& Error) {
    EXPECT_EQ(Error.Message(), Message);
  }
}
