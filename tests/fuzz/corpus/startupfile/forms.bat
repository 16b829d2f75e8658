C:\LEXAVER
rem PATH C:\OLD
  @SET   PATH =C:\DOS;
PATH C:\lexaver\
