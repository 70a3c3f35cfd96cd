// billboard
