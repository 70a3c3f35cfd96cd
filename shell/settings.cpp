// settings
