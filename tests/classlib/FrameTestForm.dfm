object TestFrameForm: TTestFrameForm
  Left = 0
  Top = 0
  Caption = 'Frames'
  ClientHeight = 420
  ClientWidth = 400
  OldCreateOrder = False
  PixelsPerInch = 96
  TextHeight = 13
  inline TestFrame1: TTestFrame
    Left = 0
    Top = 0
    TabOrder = 0
  end
  inline TestFrame2: TTestFrame
    Left = 0
    Top = 100
    TabOrder = 1
    inherited Label1: TLabel
      Caption = '&Second'
    end
    inherited Button1: TButton
      Caption = 'Second'
      OnClick = SecondClick
    end
  end
  inline Outer: TTestOuterFrame
    Left = 0
    Top = 200
    TabOrder = 2
    inherited Inner: TTestFrame
      inherited Button1: TButton
        Caption = 'Deepest'
      end
    end
  end
end
