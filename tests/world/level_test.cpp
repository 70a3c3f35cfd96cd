// level tests
